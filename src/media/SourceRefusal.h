#pragma once
// Why the source list did not take a file, and how that is said to the user.
#include <QList>
#include <QString>

enum class SourceRefusal {
    None,          // taken
    Missing,       // no file at the path
    Empty,         // a file of 0 bytes
    Unreadable,    // not a regular file, or it may not be read
    Damaged,       // a known type whose content can't be opened (a cut-off file, an MP4 without its index)
    NoDecoder,     // no installed decoder reads it: the "Error Info" window's case
    TooShort,      // it lasts less than a second
    SizeUnknown,   // its size can't be read
};

// A file an add operation left out.
struct RefusedSourceFile {
    QString path;
    SourceRefusal refusal = SourceRefusal::NoDecoder;

    friend bool operator==(const RefusedSourceFile &, const RefusedSourceFile &) = default;
};

// The reason as a sentence's end: "the file does not exist".
QString RefusalReasonText(SourceRefusal refusal);

// True for the refusals that the "Error Info" window (check the file or install a codec) explains.
bool IsCodecRefusal(SourceRefusal refusal);

// The text of the one message about several refused files, or about one that is no codec matter.
QString RefusedFilesText(const QList<RefusedSourceFile> &files);

// The text that says videos without sound were added unchecked.
QString SoundlessFilesText(const QStringList &paths);

// The tooltip of a row whose video has no sound.
QString SoundlessRowText();
