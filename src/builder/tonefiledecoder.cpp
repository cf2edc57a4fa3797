#include "tonefiledecoder.h"

#include "platform/monoaudioreader.h"
#include "tones/tonedecoder.h"

namespace kntr {

std::optional<std::vector<DecodedCommand>> ToneFileDecoder::decode(const QString& path, QString* error,
                                                                   const Progress& progress,
                                                                   const std::atomic_bool* cancel)
{
    ToneDecoder decoder;
    const MonoAudioReader::Sink sink = [&](const float* samples, qsizetype count) {
        decoder.feed(samples, count);
        return !(cancel && cancel->load());
    };
    QString problem;
    const bool read = MonoAudioReader::read(path, sink, &problem, progress);
    if (error)
        *error = problem;
    if (!read || (cancel && cancel->load())) {
        if (error && read)
            error->clear();
        return std::nullopt;
    }
    decoder.finish();
    return decoder.commands();
}

} // namespace kntr
