// revc's reader of the one-line script: arbitrary script text, and every path the program can
// write into a script, which must come back unchanged.
#include "FuzzSupport.h"

#include "AvsScript.h"
#include "Failure.h"
#include "engine/AvsScript.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    try {
        mediaPathFromScriptText(text);
    } catch (const Failure &) {
    }

    // The bytes as a path: what the program writes for it (its line and CR LF) is read back.
    const QString path = QString::fromUtf8(text.data(), qsizetype(text.size()));
    if (path.isEmpty() || path.contains(QChar(0)))
        return 0;
    const QByteArray script = AvsScriptLine(path).toUtf8() + "\r\n";
    const std::string read = mediaPathFromScriptText(script.toStdString());
    FUZZ_EXPECT(read == path.toUtf8().toStdString());
    return 0;
}
