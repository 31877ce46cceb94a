#include "settings/OptionSelectionModel.h"

#include <algorithm>

OptionSelectionModel::OptionSelectionModel(QObject *parent) : QObject(parent) {}

QStringList OptionSelectionModel::entries(Selector selector) const
{
    return slot(selector).entries;
}

void OptionSelectionModel::setEntries(Selector selector, const QStringList &entries)
{
    Slot &s = slot(selector);
    const bool hadSelection = s.selected != -1;
    s.entries = entries;
    s.selected = -1;
    Q_EMIT entriesChanged(selector);
    if (hadSelection)
        Q_EMIT selectionChanged(selector, -1);
}

void OptionSelectionModel::appendEntries(Selector selector, const QStringList &entries)
{
    slot(selector).entries << entries;
    Q_EMIT entriesChanged(selector);
}

int OptionSelectionModel::selectedIndex(Selector selector) const
{
    return slot(selector).selected;
}

void OptionSelectionModel::setSelectedIndex(Selector selector, int index)
{
    Slot &s = slot(selector);
    if (index < 0 || index >= s.entries.size())
        index = -1;
    if (s.selected == index)
        return;
    s.selected = index;
    Q_EMIT selectionChanged(selector, index);
}

QString OptionSelectionModel::entryText(Selector selector, int index) const
{
    const Slot &s = slot(selector);
    return index >= 0 && index < s.entries.size() ? s.entries.at(index) : QString();
}

bool OptionSelectionModel::isEnabled(SelectorControl control) const
{
    return control == SelectorControl::ProfileSelector ? m_profileEnabled : m_optionsEnabled;
}

void OptionSelectionModel::setEnabled(SelectorControl control, bool enabled)
{
    bool &flag = control == SelectorControl::ProfileSelector ? m_profileEnabled : m_optionsEnabled;
    if (flag == enabled)
        return;
    flag = enabled;
    Q_EMIT enabledChanged(control, enabled);
}

void OptionSelectionModel::setKeepOriginal(bool keep)
{
    if (m_keepOriginal == keep)
        return;
    m_keepOriginal = keep;
    Q_EMIT keepOriginalChanged(keep);
}

void OptionSelectionModel::setFilesAtOnce(int count)
{
    count = std::max(1, count);
    if (m_filesAtOnce == count)
        return;
    m_filesAtOnce = count;
    Q_EMIT filesAtOnceChanged(count);
}

OptionSelection OptionSelectionModel::selection() const
{
    OptionSelection s;
    for (int i = 0; i < SelectorCount; ++i)
        s[Selector(i)] = selectedIndex(Selector(i));
    return s;
}

int &OptionSelection::operator[](Selector selector)
{
    switch (selector) {
    case Selector::OutputType: return outputType;
    case Selector::Quality: return quality;
    case Selector::AudioBitrate: return audioBitrate;
    case Selector::AudioSample: return sampleRate;
    case Selector::AudioChannels: return channels;
    case Selector::VolumeGain: return volume;
    case Selector::VideoSize: return videoSize;
    case Selector::VideoBitrate: return videoBitrate;
    case Selector::FrameRate: return frameRate;
    case Selector::AspectRatio: break;
    }
    return aspectRatio;
}
