// How long one control-tone image takes to make, the work done at every segment start.

#include "model/machine.h"
#include "tones/controltones.h"

#include <QElapsedTimer>

#include <cstdio>

int main()
{
    kntr::Machine machine;
    machine.setMachineType(QStringLiteral("Treadmill"));
    kntr::ControlTones tones(machine);

    constexpr int kRounds = 20000;
    for (bool stereo : {false, true}) {
        tones.BuildToneBlocks(stereo);
        qint64 bytes = 0;
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < kRounds; ++i)
            bytes += tones
                         .MakeControlTone(static_cast<std::int16_t>(10 + i % 110),
                                          static_cast<std::int16_t>(i % 500), stereo)
                         .size();
        const double us = timer.nsecsElapsed() / 1000.0 / kRounds;
        std::printf("MakeControlTone %-6s %8.2f us per image (%d images, %lld bytes)\n",
                    stereo ? "stereo" : "mono", us, kRounds, static_cast<long long>(bytes));
    }

    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < 1000; ++i)
        tones.BuildToneBlocks(i % 2 == 1);
    std::printf("BuildToneBlocks        %8.2f us per preparation\n", timer.nsecsElapsed() / 1000.0 / 1000);
    return 0;
}
