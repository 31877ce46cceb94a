#include "settings/OptionTables.h"

QStringList visibleEntries(const OptionList &list)
{
    return list.isEmpty() ? QStringList() : list.mid(0, list.size() - 1);
}

int defaultIndex(const OptionList &list)
{
    bool ok = false;
    const int index = list.isEmpty() ? -1 : list.last().toInt(&ok, 10);
    return ok ? index : -1;
}

const QList<OutputType> &OutputTypes()
{
    static const QList<OutputType> types = {
        {"AMR Audio Files (*.amr)", ".amr", "-acodec amr_nb", "none"},
        {"AAC Audio Files (*.aac)", ".aac", "-acodec aac -vn", "none"},
        {"MP3 Audio Files (*.mp3)", ".mp3", "-acodec mp3 -vn", "none"},
        {"AC3 Audio Files (*.ac3)", ".ac3", "-acodec ac3 -vn", "none"},
        {"M4A MPEG Audio Files (*.m4a)", ".m4a", "-acodec aac -vn", "none"},
        {"OGG Audio Files (*.ogg)", ".ogg", "-acodec vorbis -vn", "none"},
        {"WAV Audio Files", ".wav", "-acodec pcm_s16le -vn", "none"},
    };
    return types;
}

const OutputType *outputTypeAt(int index)
{
    const auto &types = OutputTypes();
    return index >= 0 && index < types.size() ? &types.at(index) : nullptr;
}

namespace OptionLists {

const OptionList &OutputTypeNames()
{
    static const OptionList list = [] {
        OptionList names;
        for (const auto &type : OutputTypes())
            names << type.displayName;
        return names << QStringLiteral("0");
    }();
    return list;
}

const OptionList &QualityNames()
{
    static const OptionList list = {"Low Quality", "Acceptable Quality", "Normal Quality", "Excellent Quality",
                                    "Superb Quality", "2"};
    return list;
}

const OptionList &AudioBitrates()
{
    static const OptionList list = {"16", "32", "48", "64", "80", "128", "160", "192", "224", "2"};
    return list;
}

const OptionList &AudioSampleRates()
{
    static const OptionList list = {"22050", "32000", "44100", "48000", "2"};
    return list;
}

const OptionList &AudioChannelModes()
{
    static const OptionList list = {"1 channel, Mono", "2 channels, Stereo", "1"};
    return list;
}

const OptionList &VolumeGains()
{
    static const OptionList list = [] {
        OptionList gains;
        for (int gain = 0; gain <= 500; gain += 25)
            gains << QString::number(gain);
        return gains << QStringLiteral("4");   // "100": the encoder's -vol is a percentage
    }();
    return list;
}

const OptionList &VideoSizes()
{
    static const OptionList list = {"352x288", "176x144", "128x96", "320x240", "160x120", "1"};
    return list;
}

const OptionList &VideoBitrates()
{
    static const OptionList list = {"40", "80", "128", "256", "512", "2"};
    return list;
}

const OptionList &FrameRates()
{
    static const OptionList list = {"11", "15", "1"};
    return list;
}

const OptionList &AspectRatios()
{
    static const OptionList list = {"4:3", "16:9", "0"};
    return list;
}

} // namespace OptionLists

QList<ProfileRow> profileRowsFor(int outputType)
{
    static const QList<ProfileRow> amrMp3M4a = {"1|0|0|2|0|0", "1|0|1|4|1|1", "1|1|2|5|1|2", "1|1|3|7|1|2",
                                                "1|1|4|8|1|3"};
    static const QList<ProfileRow> aacAc3 = {"1|0|0|2|0|0", "1|0|1|4|0|0", "1|1|2|5|0|0", "1|1|3|7|0|0",
                                             "1|1|4|8|0|0"};
    static const QList<ProfileRow> ogg = {"none|none|none|2|0|0", "none|none|none|4|0|0", "none|none|none|5|0|0",
                                          "none|none|none|7|0|0", "none|none|none|8|0|0"};
    static const QList<ProfileRow> wav = {"none|none|none|2|0|0", "none|none|none|4|1|1", "none|none|none|5|1|2",
                                          "none|none|none|7|1|2", "none|none|none|8|1|3"};
    switch (outputType) {
    case Amr:
    case Mp3:
    case M4a: return amrMp3M4a;
    case Aac:
    case Ac3: return aacAc3;
    case Ogg: return ogg;
    case Wav: return wav;
    default: return {};
    }
}
