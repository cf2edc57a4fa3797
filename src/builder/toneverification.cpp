#include "toneverification.h"

#include "model/machine.h"
#include "model/numbers.h"
#include "model/workout.h"
#include "tones/commandencoding.h"
#include "tones/commandtargets.h"

#include <algorithm>
#include <limits>

namespace kntr {

namespace {

constexpr double kEarly = 0.5; // a segment's tone may start this much before its boundary

std::int16_t commandValue(double value)
{
    return static_cast<std::int16_t>(std::clamp(toTenths(value),
                                                int{std::numeric_limits<std::int16_t>::min()},
                                                int{std::numeric_limits<std::int16_t>::max()}));
}

QString seconds(double s)
{
    return QString::number(s, 'f', 3) + QStringLiteral(" s");
}

QString sent(int first, int second, int check)
{
    return QStringLiteral("%1 %2 %3").arg(first).arg(second).arg(check);
}

} // namespace

bool ToneVerification::Row::matches() const
{
    return found && found->clean() && found->first == first && found->second == second
        && found->check == check;
}

ToneVerification ToneVerification::compare(const Workout& workout, const Machine& machine,
                                           const std::vector<DecodedCommand>& found, double leadIn)
{
    ToneVerification v;
    v.mMachineType = machine.MachineType();
    double boundary = leadIn;
    for (int k = 1; k <= workout.count() + 1; ++k) {
        Row row;
        row.boundary = boundary;
        std::int16_t first = kStopCommandValue, second = kStopCommandValue;
        if (k <= workout.count()) {
            row.segment = k;
            first = commandValue(workout.segment(k).SegmentSpeed());
            second = commandValue(workout.segment(k).SegmentIncline());
            boundary += workout.segment(k).SegmentTime();
        }
        AdjustCommand(v.mMachineType, first, second);
        row.first = first & 0xFF;
        row.second = second & 0xFF;
        row.check = (first + second) & 0xFF;
        v.mRows.push_back(row);
    }

    for (const DecodedCommand& command : found) {
        // The last row whose time has begun; before the first, the first.
        auto row = std::find_if(v.mRows.rbegin(), v.mRows.rend(),
                                [&](const Row& r) { return command.seconds >= r.boundary - kEarly; });
        Row& owner = row == v.mRows.rend() ? v.mRows.front() : *row;
        if (!owner.found && command.seconds >= owner.boundary - kEarly)
            owner.found = command;
        else
            v.mUnexpected.push_back(command);
    }
    return v;
}

bool ToneVerification::passed() const
{
    return mUnexpected.empty()
        && std::all_of(mRows.begin(), mRows.end(), [](const Row& r) { return r.matches(); });
}

QString ToneVerification::summary() const
{
    const auto right = std::count_if(mRows.begin(), mRows.end(), [](const Row& r) { return r.matches(); });
    QString text = right == static_cast<qsizetype>(mRows.size())
        ? QStringLiteral("All %1 control tones were found with the right values.").arg(right)
        : QStringLiteral("%1 of %2 control tones were found with the right values.")
              .arg(right)
              .arg(mRows.size());
    if (!mUnexpected.empty())
        text += QStringLiteral(" %1 more were found where none belongs.").arg(mUnexpected.size());
    return text;
}

QStringList ToneVerification::lines() const
{
    QStringList out;
    for (const Row& r : mRows) {
        QString line = r.segment > 0
            ? QStringLiteral("Segment %1 at %2: ").arg(r.segment).arg(seconds(r.boundary))
            : QStringLiteral("End at %1: ").arg(seconds(r.boundary));
        line += CommandTargets::fromSent(mMachineType, r.first, r.second).text() + QStringLiteral(" (")
            + sent(r.first, r.second, r.check) + QStringLiteral(") - ");
        if (!r.found) {
            line += QStringLiteral("not found");
        } else {
            const DecodedCommand& f = *r.found;
            line += QStringLiteral("found at ") + seconds(f.seconds);
            if (f.first != r.first || f.second != r.second || f.check != r.check)
                line += QStringLiteral(", carrying ") + sent(f.first, f.second, f.check);
            if (!f.checkHolds)
                line += QStringLiteral(", check value wrong");
            if (!f.repeatMatched)
                line += QStringLiteral(", repeat differs");
            if (r.matches())
                line += QStringLiteral(": OK");
        }
        out << line;
    }
    for (const DecodedCommand& f : mUnexpected)
        out << QStringLiteral("Unexpected at %1: ").arg(seconds(f.seconds))
                + CommandTargets::fromSent(mMachineType, f.first, f.second).text() + QStringLiteral(" (")
                + sent(f.first, f.second, f.check) + QLatin1Char(')');
    return out;
}

} // namespace kntr
