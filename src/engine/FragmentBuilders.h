#pragma once
// The option fragments of the encoder command, one builder per option, from the encoder
// settings; an option left unset gives the template's default fragment.
#include "engine/CommandTemplates.h"
#include "engine/Fragment.h"
#include "settings/EncoderSettings.h"
#include "settings/LoudnessTarget.h"

struct SourceItem;

// The three output-type builders look the index up in the output type table.
Fragment MakeCodecArg(int outputTypeIndex);          // " " + codecOption, else " -vcodec xvid -acodec mp3"
Fragment MakeFormatArg(int outputTypeIndex);         // "" for "none", else " -f " + format
QString MakeOutputExtension(int outputTypeIndex);    // ".mp3", else ".avi"

// Every option fragment of `settings` (all but the time range).
CommandFragments MakeOptionFragments(const EncoderSettings &settings);

Fragment MakeLoudnessArg(LoudnessTarget target); // " -loudness -16"; as recorded: ""

// The arguments an item or the settings add beyond the templates, placed after the time range
// and before the output path. Choices of one item (an audio track) and run-wide choices that no
// template carries go here; nothing for now.
Fragment MakeExtraEncoderArgs(const SourceItem &item, const EncoderSettings &settings);
