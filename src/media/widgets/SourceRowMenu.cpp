#include "media/widgets/SourceRowMenu.h"

#include "media/AudioTrackText.h"

#include <QActionGroup>
#include <QMenu>

QString AudioTrackMenuTitle() { return QStringLiteral("Audio track"); }

QMenu *MakeSourceRowMenu(const SourceItem &item, QWidget *parent, std::function<void(int track)> choose)
{
    auto *menu = new QMenu(parent);
    QMenu *tracks = menu->addMenu(AudioTrackMenuTitle());
    if (item.audioTracks.isEmpty()) {
        tracks->setEnabled(false);
        return menu;
    }
    auto *group = new QActionGroup(tracks);
    group->setExclusive(true);
    const std::optional<int> converted = EffectiveAudioTrack(item.audioTracks, item.audioTrack);
    for (const AudioTrack &track : item.audioTracks) {
        // A title's "&" is shown as it is, not taken for a shortcut's mark.
        QAction *action = tracks->addAction(AudioTrackLabel(track).replace(u'&', QStringLiteral("&&")));
        action->setCheckable(true);
        action->setChecked(converted == track.number);
        group->addAction(action);
        QObject::connect(action, &QAction::triggered, menu, [choose, number = track.number] { choose(number); });
    }
    return menu;
}
