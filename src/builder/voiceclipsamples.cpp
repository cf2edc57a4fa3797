#include "voiceclipsamples.h"

#include <QDir>
#include <QFile>

namespace kntr {

VoiceClipSamples::VoiceClipSamples(const QString& clipDir, bool stereo, int skippedBytes)
    : mStereo(stereo)
    , mSkippedBytes(skippedBytes)
{
    const QDir dir(clipDir);
    for (const QString& name : dir.entryList(QDir::Files))
        mFiles.insert(name.toLower(), dir.filePath(name));
}

const QByteArray& VoiceClipSamples::samples(const QString& word)
{
    const QString key = word.toLower();
    auto found = mSamples.constFind(key);
    if (found != mSamples.constEnd())
        return *found;

    QByteArray converted;
    const QString path = mFiles.value(key + QStringLiteral(".wav"));
    if (!word.isEmpty() && !path.isEmpty()) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            converted = convert(file.readAll(), mStereo, mSkippedBytes);
    }
    return *mSamples.insert(key, converted);
}

QByteArray VoiceClipSamples::convert(const QByteArray& clipFile, bool stereo, int skippedBytes)
{
    const qsizetype samples = (clipFile.size() - skippedBytes) / 2;
    if (samples <= 0)
        return {};
    const int copies = stereo ? 4 : 2;
    QByteArray out(samples * 2 * copies, Qt::Uninitialized);
    const char* in = clipFile.constData() + skippedBytes;
    char* to = out.data();
    for (qsizetype i = 0; i < samples; ++i, in += 2) {
        for (int c = 0; c < copies; ++c) {
            *to++ = in[0];
            *to++ = in[1];
        }
    }
    return out;
}

} // namespace kntr
