#pragma once
// The option fragments of the encoder command, one builder per option, from the encoder
// settings; an option left unset gives the template's default fragment.
#include "engine/CommandTemplates.h"
#include "engine/Fragment.h"
#include "settings/EncoderSettings.h"
#include "settings/LoudnessTarget.h"

#include <optional>

struct SourceItem;

// The three output-type builders look the index up in the output type table.
Fragment MakeCodecArg(int outputTypeIndex);          // " " + codecOption, else " -vcodec xvid -acodec mp3"
Fragment MakeFormatArg(int outputTypeIndex);         // "" for "none", else " -f " + format
QString MakeOutputExtension(int outputTypeIndex);    // ".mp3", else ".avi"

// Every option fragment of `settings` (all but the time range).
CommandFragments MakeOptionFragments(const EncoderSettings &settings);

Fragment MakeLoudnessArg(LoudnessTarget target); // " -loudness -16"; as recorded: ""

// " -keeporiginal" when the sound is to be copied where it can be, with " -explicit ab,ar" naming
// the bit rate, sample rate or channels asked for on their own (which then encode); else "".
Fragment MakeKeepOriginalArg(const EncoderSettings &settings);

// The arguments an item or the settings add beyond the templates, placed after the time range
// and before the output path: choices of one item (its audio track) and run-wide choices that no
// template carries.
Fragment MakeExtraEncoderArgs(const SourceItem &item, const EncoderSettings &settings);

// The audio track chosen for an item (1-based among the file's audio tracks): " -atrack 2";
// empty when none was chosen, so that the command stays as it was without the choice.
Fragment MakeAudioTrackArg(std::optional<int> chosenTrack);
