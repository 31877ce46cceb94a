#pragma once
// The option fragments of the encoder command, one builder per option. Each reads the entry of
// its selector at `index`; an empty entry (index -1 included) gives the default fragment.
#include "engine/Fragment.h"
#include "settings/LoudnessTarget.h"
#include "settings/OptionSelectionModel.h"

// The three output-type builders look the index up in the output type table.
Fragment MakeCodecArg(int outputTypeIndex);          // " " + codecOption, else " -vcodec xvid -acodec mp3"
Fragment MakeFormatArg(int outputTypeIndex);         // "" for "none", else " -f " + format
QString MakeOutputExtension(int outputTypeIndex);    // ".mp3", else ".avi"

Fragment MakeVideoBitrateArg(const OptionSelectionModel &model, int index); // " -b 512"
Fragment MakeVideoSizeArg(const OptionSelectionModel &model, int index);    // " -s 320x240"
Fragment MakeFrameRateArg(const OptionSelectionModel &model, int index);    // " -r 25"
Fragment MakeAspectArg(const OptionSelectionModel &model, int index);       // " -aspect 4:3"
Fragment MakeAudioBitrateArg(const OptionSelectionModel &model, int index); // " -ab 64"
Fragment MakeVolumeArg(const OptionSelectionModel &model, int index);       // default: a lone blank
Fragment MakeChannelsArg(const OptionSelectionModel &model, int index);     // " -ac " + first character
Fragment MakeSampleRateArg(const OptionSelectionModel &model, int index);   // " -ar 44100"
Fragment MakeLoudnessArg(LoudnessTarget target);                            // " -loudness -16"; as recorded: ""
