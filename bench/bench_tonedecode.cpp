// How fast the control tones of an hour of audio are read back, and the most
// memory the process held: 60 minutes of noise at -20 dB with a command every
// minute, fed to the decoder a second at a time as a file reader does.
// Usage: bench_tonedecode [minutes]

#include "model/machine.h"
#include "tones/controltones.h"
#include "tones/tonedecoder.h"

#include <QElapsedTimer>
#include <QtEndian>

#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>
#include <vector>

int main(int argc, char* argv[])
{
    const int minutes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
    kntr::Machine machine;
    machine.setMachineType(QStringLiteral("Treadmill"));
    kntr::ControlTones tones(machine);
    const QByteArray image = tones.MakeControlTone(65, 45, false);
    std::vector<float> tone;
    for (qsizetype i = kntr::ControlTones::kHeaderSize; i + 1 < image.size(); i += 2)
        tone.push_back(qFromLittleEndian<qint16>(image.constData() + i) / 32768.0f);

    kntr::ToneDecoder decoder;
    std::vector<float> second(44100);
    quint32 random = 1;
    QElapsedTimer timer;
    qint64 decoding = 0;
    for (int s = 0; s < minutes * 60; ++s) {
        for (float& v : second) {
            random = random * 1664525u + 1013904223u;
            v = (static_cast<float>(random >> 8) / 16777216.0f - 0.5f) * 0.2f;
        }
        if (s % 60 == 30)
            for (size_t i = 0; i < tone.size(); ++i)
                second[i] += tone[i] * 0.7f;
        timer.start();
        decoder.feed(second.data(), static_cast<qsizetype>(second.size()));
        decoding += timer.nsecsElapsed();
    }
    timer.start();
    decoder.finish();
    decoding += timer.nsecsElapsed();

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const double seconds = static_cast<double>(decoding) / 1e9;
    std::printf("%d minutes of audio: %.2f s to decode (%.0f× real time), %zu of %d commands found\n",
                minutes, seconds, minutes * 60 / seconds, decoder.commands().size(), minutes);
    std::printf("peak memory: %.1f MB\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
    std::printf("report: tone decoder, %d minutes of audio | %.2f s, %.1f MB | -\n", minutes, seconds,
                static_cast<double>(usage.ru_maxrss) / 1024.0);
    return 0;
}
