#pragma once
// The option selectors without any window: each selector's entries and selected index, and the
// enabled states of the quality selector and the Options button. Combo boxes are views of the
// shown ones; the video selectors have no view.
#include <QObject>
#include <QStringList>
#include <array>

// One per option selector (the combo box each one is shown in is named in the comment).
enum class Selector {
    OutputType,   // cbbOutputFiletype
    Quality,      // cbbProfile: 0..4 built-in qualities, 5.. custom profiles
    AudioBitrate, // cbbAudioBitrate
    AudioSample,  // cbbAudioSample
    AudioChannels, // cbbAudioChannels
    VolumeGain,   // cbbAudioVolumeGain
    VideoSize,    // not shown: the values profiles and templates carry
    VideoBitrate, // not shown
    FrameRate,    // not shown
    AspectRatio,  // not shown
};
inline constexpr int SelectorCount = 10;

// Controls whose enabled state follows the selection.
enum class SelectorControl { ProfileSelector /* cbbProfile */, OptionsButton /* btnOptions */ };

// The current choice as plain indexes (-1 = nothing selected).
struct OptionSelection {
    int outputType = -1;
    int quality = -1;
    int audioBitrate = -1;
    int sampleRate = -1;
    int channels = -1;
    int volume = -1;
    int videoSize = -1;
    int videoBitrate = -1;
    int frameRate = -1;
    int aspectRatio = -1;

    // The index of one selector.
    int &operator[](Selector selector);
    int operator[](Selector selector) const { return const_cast<OptionSelection &>(*this)[selector]; }
};

class OptionSelectionModel : public QObject {
    Q_OBJECT
public:
    explicit OptionSelectionModel(QObject *parent = nullptr);

    QStringList entries(Selector selector) const;
    // Replaces the entries; the selection becomes -1.
    void setEntries(Selector selector, const QStringList &entries);
    void appendEntries(Selector selector, const QStringList &entries);
    void clear(Selector selector) { setEntries(selector, {}); }

    int selectedIndex(Selector selector) const;
    // Selects `index` (-1 or out of range selects nothing). Emits selectionChanged on a change.
    void setSelectedIndex(Selector selector, int index);

    // The entry text at `index`; empty when out of range.
    QString entryText(Selector selector, int index) const;
    QString selectedText(Selector selector) const { return entryText(selector, selectedIndex(selector)); }

    bool isEnabled(SelectorControl control) const;
    void setEnabled(SelectorControl control, bool enabled);

    OptionSelection selection() const;

    // "Keep the original sound when it already has the output type (no re-encoding)".
    bool keepOriginal() const { return m_keepOriginal; }
    void setKeepOriginal(bool keep);

    // "Files converted at once": how many encoders the window's batch run keeps busy (at least 1).
    int filesAtOnce() const { return m_filesAtOnce; }
    void setFilesAtOnce(int count);

Q_SIGNALS:
    void entriesChanged(Selector selector);
    void selectionChanged(Selector selector, int index);
    void enabledChanged(SelectorControl control, bool enabled);
    void keepOriginalChanged(bool keep);
    void filesAtOnceChanged(int count);

private:
    struct Slot {
        QStringList entries;
        int selected = -1;
    };
    Slot &slot(Selector selector) { return m_slots[static_cast<size_t>(selector)]; }
    const Slot &slot(Selector selector) const { return m_slots[static_cast<size_t>(selector)]; }

    std::array<Slot, SelectorCount> m_slots;
    bool m_profileEnabled = true;
    bool m_optionsEnabled = true;
    bool m_keepOriginal = false;
    int m_filesAtOnce = 1;
};
