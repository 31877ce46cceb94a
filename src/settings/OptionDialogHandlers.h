#pragma once
// What the Options dialog does, without its window: the show handler, the name box's change
// handler, Add, Save, Delete, OK and Cancel. Hiding the dialog is the window's part. Failures
// (an unwritable Config folder, a stored piece that is not a number) leave as exceptions.
#include "settings/OptionSelectionModel.h"

#include <array>

class CustomProfileBox;
class TCustomProfiles;

class TOptionDialogHandlers {
public:
    // Both must outlive this object.
    TOptionDialogHandlers(TCustomProfiles &profiles, OptionSelectionModel &options);

    // The names are read again (a typed text stays); an empty text selects the custom profile
    // chosen in the main window, if any. Then the nine indexes are remembered for Cancel.
    void FormShow();
    // The user picked a name or edited the text: the selected profile is loaded.
    void cbbCustomProfileChange();
    // The user changed an option that profiles hold (bitrate, sample rate, channels): the values
    // are no longer the profile's, so no profile is loaded again for converted items and the
    // main window's quality box names what the values are ("Custom settings") after OK.
    void ProfileOptionChange();
    // Each reloads the names. Add and Delete select the last one (Delete empties the text when
    // none is left); Save selects the name it saved under (nothing for an empty name). A refused
    // Save leaves the name box as the user typed it.
    void btnAddClick();
    void btnSaveClick();
    void btnDelClick();
    // OK: the main window's profile selector is filled again ("Normal Quality"); the option
    // values stay.
    void btnApplyClick();
    // Cancel: the nine remembered indexes come back, the video values' too, and the profile in
    // force.
    void btnCancelClick();
    // OK with "Keep the original sound ..." ticked or not: items converted from now on follow it.
    void ApplyKeepOriginal(bool keep) { m_options.setKeepOriginal(keep); }
    // OK with "Files converted at once" at `count`: the runs started from now on take it.
    void ApplyFilesAtOnce(int count) { m_options.setFilesAtOnce(count); }

private:
    CustomProfileBox &reloadNames();
    void reloadNamesSelectingLast();

    TCustomProfiles &m_profiles;
    OptionSelectionModel &m_options;
    // The option selectors in the order they are remembered and given back; the name box last.
    static constexpr std::array<Selector, 8> RememberedSelectors = {
        Selector::VideoSize,   Selector::VideoBitrate, Selector::FrameRate,  Selector::AspectRatio,
        Selector::AudioBitrate, Selector::AudioSample, Selector::VolumeGain, Selector::AudioChannels,
    };
    std::array<int, 8> m_rememberedOptions{-1, -1, -1, -1, -1, -1, -1, -1};
    int m_rememberedName = -1;
    QString m_rememberedInForce;
};
