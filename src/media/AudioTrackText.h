#pragma once
// How an audio track is named to the user: in the source list's menu and tooltip, and in
// kelvane-convert's listing.
#include "media/AudioTracks.h"

// The language's English name for a language tag ("fre" gives "French"); the tag itself when
// it names no known language; empty for an empty tag.
QString LanguageName(const QString &tag);

// The codec's usual name ("aac" gives "AAC", "vorbis" gives "Vorbis").
QString CodecName(const QString &codec);

// "mono", "stereo", "5.1", "7.1", or "3 channels"; empty when not known.
QString ChannelsName(int channels);

// "1: English - AAC stereo (default)", "2: English, Director's commentary - AC3 5.1": the number,
// then the language and the title (on one line, cut after 60 characters, left out when it only
// repeats the language), the codec and the channels, and "(default)" when the file marks the
// track as its default.
QString AudioTrackLabel(const AudioTrack &track);
