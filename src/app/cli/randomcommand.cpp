#include "randomcommand.h"

#include "climessages.h"
#include "cliworkout.h"

#include "generator/generatorparameters.h"
#include "generator/randomdraws.h"
#include "generator/randomworkout.h"
#include "model/numbers.h"
#include "model/totals.h"
#include "platform/systemclock.h"

#include <QLocale>

#include <cmath>
#include <initializer_list>
#include <optional>

namespace kntr {

namespace {

using P = GeneratorParameters;

const QString kOutput = QStringLiteral("o");
const QString kMinutes = QStringLiteral("minutes");
const QString kSpeed = QStringLiteral("speed");
const QString kIncline = QStringLiteral("incline");
const QString kSpeedPattern = QStringLiteral("speed-pattern");
const QString kInclinePattern = QStringLiteral("incline-pattern");
const QString kSpeedBias = QStringLiteral("speed-bias");
const QString kInclineBias = QStringLiteral("incline-bias");
const QString kWarmUp = QStringLiteral("warmup");
const QString kCoolDown = QStringLiteral("cooldown");
const QString kSeed = QStringLiteral("seed");

constexpr double kTolerance = 1e-9;

std::optional<double> number(const QString& text)
{
    bool ok = false;
    const double v = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

/// Reads every text into its number; false when the counts differ or one is no number.
bool numbers(const QStringList& texts, std::initializer_list<double*> into)
{
    if (texts.size() != static_cast<qsizetype>(into.size()))
        return false;
    int i = 0;
    for (double* target : into) {
        const std::optional<double> v = number(texts[i++]);
        if (!v)
            return false;
        *target = *v;
    }
    return true;
}

std::optional<int> wholeNumber(const QString& text)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(v) : std::nullopt;
}

/// One attribute's values as the generator window shows them, and the
/// positions its sliders can take.
struct Scale {
    QString name; ///< "speed", "incline", "resistance"
    QString unit; ///< " mph", " km/h", "%" or nothing
    int min = 0;
    int max = 0;
    int step = 1;
    bool kilometres = false;

    /// A value in tenths as shown: in km/h the tenths × 1.61, rounded.
    double shown(int tenths) const
    {
        return (kilometres ? roundHalfEven(tenths * kKilometresPerMile) : tenths) / 10.0;
    }
    QString text(int tenths) const { return plainNumber(shown(tenths)) + unit; }

    /// The slider position for a value written as shown: the highest position
    /// shown at or below it, as a slider move snaps down. A range slider stops
    /// at the machine's steps, a fixed segment's at every tenth. A value
    /// outside the machine's range is refused with the reason in problem.
    std::optional<int> position(double value, bool stepsOnly, QString& problem) const
    {
        if (value < shown(min) - kTolerance) {
            problem = QStringLiteral("%1 is below the machine's lowest %2, %3")
                          .arg(plainNumber(value), name, text(min));
            return std::nullopt;
        }
        if (value > shown(max) + kTolerance) {
            problem = QStringLiteral("%1 is above the machine's highest %2, %3")
                          .arg(plainNumber(value), name, text(max));
            return std::nullopt;
        }
        int best = min;
        for (int v = min; v <= max; ++v) {
            if (stepsOnly && v != min && v % step != 0)
                continue;
            if (shown(v) <= value + kTolerance)
                best = v;
            else
                break;
        }
        return best;
    }
};

Scale speedScale(const Machine& m)
{
    Scale s;
    s.name = m.AttOneVoiceCue().toLower();
    s.min = m.AttOneMin();
    s.max = std::max(m.AttOneMin(), m.AttOneMax());
    s.step = std::max(1, int(m.AttOneInc()));
    const bool speed = !m.firstAttributeIsResistance();
    s.kilometres = speedInKilometres(m);
    s.unit = !speed ? QString() : s.kilometres ? QStringLiteral(" km/h") : QStringLiteral(" mph");
    return s;
}

Scale inclineScale(const Machine& m)
{
    Scale s;
    s.name = m.AttTwoVoiceCue().toLower();
    s.min = m.AttTwoMin();
    s.max = std::max(m.AttTwoMin(), m.AttTwoMax());
    s.step = std::max(1, int(m.AttTwoInc()));
    s.unit = s.name == QLatin1String("incline") ? QStringLiteral("%") : QString();
    return s;
}

/// Reads the options into the parameters; on a mistake returns the message.
class Options {
public:
    Options(const CliArguments& args, const Machine& machine)
        : mArgs(args)
        , mSpeed(speedScale(machine))
        , mIncline(inclineScale(machine))
    {
    }

    std::optional<QString> apply(P& p) const
    {
        if (mArgs.isSet(kMinutes)) {
            const std::optional<int> minutes = wholeNumber(mArgs.value(kMinutes));
            const int lo = P::kMinTime / 60, hi = P::kMaxTime / 60;
            if (!minutes || *minutes < lo || *minutes > hi)
                return QStringLiteral("--minutes takes whole minutes from %1 to %2").arg(lo).arg(hi);
            p.time = *minutes * 60;
        }
        if (auto problem = range(kSpeed, mSpeed, p.speedMin, p.speedMax))
            return problem;
        if (auto problem = range(kIncline, mIncline, p.inclineMin, p.inclineMax))
            return problem;
        if (auto problem = pattern(kSpeedPattern, QStringLiteral("fast-slow"), p.speedPattern))
            return problem;
        if (auto problem = pattern(kInclinePattern, QStringLiteral("hill"), p.inclinePattern))
            return problem;
        if (auto problem = biases(kSpeedBias, p.speedBias))
            return problem;
        if (auto problem = biases(kInclineBias, p.inclineBias))
            return problem;
        if (auto problem = fixed(kWarmUp, p, P::FirstWarmUp))
            return problem;
        if (auto problem = fixed(kCoolDown, p, P::FirstCoolDown))
            return problem;
        return std::nullopt;
    }

private:
    std::optional<QString> range(const QString& option, const Scale& scale, int& min, int& max) const
    {
        if (!mArgs.isSet(option))
            return std::nullopt;
        const QString text = mArgs.value(option);
        const QStringList parts = text.split(QLatin1Char('-'));
        double lo = 0, hi = 0;
        if (!numbers(parts, {&lo, &hi}))
            return QStringLiteral("--%1 takes MIN-MAX, as in %2-%3")
                .arg(option, plainNumber(scale.shown(scale.min)), plainNumber(scale.shown(scale.max)));
        if (lo > hi)
            return QStringLiteral("--%1 %2: the minimum is above the maximum").arg(option, text);
        QString problem;
        const std::optional<int> from = scale.position(lo, true, problem);
        const std::optional<int> to = from ? scale.position(hi, true, problem) : std::nullopt;
        if (!to)
            return QStringLiteral("--%1 %2: %3").arg(option, text, problem);
        min = *from;
        max = *to;
        return std::nullopt;
    }

    std::optional<QString> pattern(const QString& option, const QString& third, int& pattern) const
    {
        if (!mArgs.isSet(option))
            return std::nullopt;
        const QStringList names{QStringLiteral("random"), QStringLiteral("interval"), third};
        const int index = names.indexOf(mArgs.value(option).toLower());
        if (index < 0)
            return QStringLiteral("--%1 takes %2").arg(option, names.join(QLatin1Char('|')));
        pattern = index;
        return std::nullopt;
    }

    std::optional<QString> biases(const QString& option, std::array<int, 3>& bias) const
    {
        if (!mArgs.isSet(option))
            return std::nullopt;
        const QStringList parts = mArgs.value(option).split(QLatin1Char(','));
        std::array<int, 3> read{};
        bool ok = parts.size() == 3;
        for (int i = 0; ok && i < 3; ++i) {
            const std::optional<int> v = wholeNumber(parts[i]);
            ok = v && *v >= P::kBiasMin[i] && *v <= P::kBiasMax[i];
            read[i] = v.value_or(0);
        }
        if (!ok)
            return QStringLiteral(
                       "--%1 takes RAMP,SPACING,PEAK: ramp %2 to %3, spacing %4 to %5, peak %6 to %7")
                .arg(option)
                .arg(P::kBiasMin[P::Ramp])
                .arg(P::kBiasMax[P::Ramp])
                .arg(P::kBiasMin[P::Spacing])
                .arg(P::kBiasMax[P::Spacing])
                .arg(P::kBiasMin[P::Peak])
                .arg(P::kBiasMax[P::Peak]);
        bias = read;
        return std::nullopt;
    }

    /// The first use of the option sets the first of the two fixed segments, a second use the other.
    std::optional<QString> fixed(const QString& option, P& p, int first) const
    {
        const QStringList given = mArgs.values(option);
        if (given.size() > 2)
            return QStringLiteral("--%1 is given at most twice").arg(option);
        for (int i = 0; i < given.size(); ++i) {
            const QStringList parts = given[i].split(QLatin1Char(','));
            double speed = 0, incline = 0;
            const std::optional<int> seconds = parts.size() == 3 ? wholeNumber(parts[0]) : std::nullopt;
            if (!seconds || !numbers(parts.mid(1), {&speed, &incline}))
                return QStringLiteral("--%1 takes SEC,SPEED,INCLINE, as in 60,%2,%3")
                    .arg(option, plainNumber(mSpeed.shown(mSpeed.min)),
                         plainNumber(mIncline.shown(mIncline.min)));
            if (*seconds < P::kMinFixedSeconds || *seconds > P::kMaxFixedSeconds)
                return QStringLiteral("--%1 %2: the time takes whole seconds from %3 to %4")
                    .arg(option, given[i])
                    .arg(P::kMinFixedSeconds)
                    .arg(P::kMaxFixedSeconds);
            QString problem;
            const std::optional<int> s = mSpeed.position(speed, false, problem);
            const std::optional<int> w = s ? mIncline.position(incline, false, problem) : std::nullopt;
            if (!w)
                return QStringLiteral("--%1 %2: %3").arg(option, given[i], problem);
            p.fixed[first + i] = {*seconds, *s, *w};
        }
        return std::nullopt;
    }

    const CliArguments& mArgs;
    Scale mSpeed;
    Scale mIncline;
};

int run(const CliArguments& args, CliContext& context)
{
    const QString output = args.value(kOutput);
    if (output.isEmpty())
        return args.usageError(QStringLiteral("no output file given (-o OUT.txt)"));
    std::optional<std::uint32_t> seed;
    if (args.isSet(kSeed)) {
        bool ok = false;
        seed = args.value(kSeed).toUInt(&ok);
        if (!ok)
            return args.usageError(QStringLiteral("--seed takes a whole number from 0 to 4294967295"));
    }

    CliWorkout workout(context);
    Session& session = workout.session();
    SettingsStore& settings = workout.settings();
    P parameters = P::stored(settings, session.machine);
    if (const std::optional<QString> problem = Options(args, session.machine).apply(parameters))
        return args.usageError(*problem);

    SystemClock clock;
    RandomDraws draws = seed ? RandomDraws(*seed) : RandomDraws(clock);
    session.workout = RandomWorkout::make(parameters, session.machine, session.weightPounds, draws);

    if (!workout.saveAs(output))
        return args.failure(workout.problem());
    const WorkoutTotals totals =
        computeTotals(session.workout, session.machine.MachineType(), session.machine.units());
    context.out << "Wrote " << output << ": " << session.workout.count() << " segments, "
                << minutesSecondsText(totals.seconds) << '\n';
    return kCliOk;
}

} // namespace

CliCommand randomCommand()
{
    return {
        QStringLiteral("random"),
        QStringLiteral("-o OUT.txt [--minutes N] [--speed MIN-MAX] [--incline MIN-MAX] "
                       "[--speed-pattern P] [--incline-pattern P] [--speed-bias R,S,P] "
                       "[--incline-bias R,S,P] [--warmup S,V,I] [--cooldown S,V,I] [--seed N]"),
        QStringLiteral("Make a random workout, as the Random Workout window does, and write it.\n\n"
                       "The workout is made for the stored machine and written as a version 1.2 file.\n"
                       "Every option left out takes the value stored by the Random Workout window\n"
                       "(or its default); the stored values are never changed. Speeds and inclines\n"
                       "are written as the window shows them: speeds in mph, or in km/h when the\n"
                       "stored units are metric; a value between two of the machine's steps is\n"
                       "taken down to the step below, and a value outside the machine's range is\n"
                       "refused. The same seed and options give the same workout."),
        {QCommandLineOption(QStringList{kOutput, QStringLiteral("output")},
                            QStringLiteral("The file to write."), QStringLiteral("OUT.txt")),
         QCommandLineOption(kMinutes, QStringLiteral("Total time, 10 to 60 minutes."), QStringLiteral("N")),
         QCommandLineOption(kSpeed, QStringLiteral("Speed range of the middle segments."),
                            QStringLiteral("MIN-MAX")),
         QCommandLineOption(kIncline, QStringLiteral("Incline range of the middle segments."),
                            QStringLiteral("MIN-MAX")),
         QCommandLineOption(kSpeedPattern, QStringLiteral("random, interval or fast-slow."),
                            QStringLiteral("PATTERN")),
         QCommandLineOption(kInclinePattern, QStringLiteral("random, interval or hill."),
                            QStringLiteral("PATTERN")),
         QCommandLineOption(kSpeedBias,
                            QStringLiteral("Speed ramp (1-100), interval spacing (2-10), peak (0-100)."),
                            QStringLiteral("R,S,P")),
         QCommandLineOption(kInclineBias, QStringLiteral("The same for the incline."),
                            QStringLiteral("R,S,P")),
         QCommandLineOption(kWarmUp,
                            QStringLiteral("A warm-up segment: seconds (30-240), speed, incline; "
                                           "the first use sets the 1st, a second the 2nd."),
                            QStringLiteral("S,V,I")),
         QCommandLineOption(kCoolDown, QStringLiteral("A cool-down segment, as --warmup."),
                            QStringLiteral("S,V,I")),
         QCommandLineOption(kSeed, QStringLiteral("Seed of the random draws (default: the clock)."),
                            QStringLiteral("N"))},
        0,
        0,
        run};
}

} // namespace kntr
