#include "usertext.h"

#include "model/numbers.h"

#include <cctype>
#include <cstdint>

namespace kntr {

const char* const kUserMagicLine = "Vexa v 1.1                ";

QByteArray buildUserText(const QString& workoutPath, int weightPounds)
{
    return QByteArray(kUserMagicLine) + "\r\n" + workoutPath.toUtf8() + "\r\n"
        + QByteArray::number(weightPounds) + "\r\n";
}

double leadingNumber(const QByteArray& text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    const qsizetype start = i;
    if (i < n && (text[i] == '+' || text[i] == '-'))
        ++i;
    const auto digits = [&] {
        const qsizetype from = i;
        while (i < n && std::isdigit(static_cast<unsigned char>(text[i])))
            ++i;
        return i > from;
    };
    bool any = digits();
    if (i < n && text[i] == '.') {
        ++i;
        any = digits() || any;
    }
    if (!any)
        return 0;
    qsizetype end = i;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-'))
            ++i;
        if (digits())
            end = i;
    }
    bool ok = false;
    const double v = text.mid(start, end - start).toDouble(&ok);
    return ok ? v : 0;
}

UserTextResult parseUserText(const QByteArray& text)
{
    UserTextResult result;
    if (!text.startsWith("Vexa v 1")) {
        result.status = UserTextResult::Status::NotRecognised;
        return result;
    }
    const QByteArray rest = text.mid(28);
    const qsizetype pathEnd = rest.indexOf('\r');
    const qsizetype weightStart = pathEnd + 2;
    const qsizetype weightEnd = pathEnd < 0 ? -1 : rest.indexOf('\r', weightStart);
    if (weightEnd < 0) {
        result.status = UserTextResult::Status::Malformed;
        result.problem = pathEnd < 0 ? QStringLiteral("the workout line does not end")
                                     : QStringLiteral("the weight line does not end");
        return result;
    }
    const double weight = roundHalfEven(leadingNumber(rest.mid(weightStart, weightEnd - weightStart)));
    if (weight < INT16_MIN || weight > INT16_MAX) {
        result.status = UserTextResult::Status::Malformed;
        result.problem = QStringLiteral("the weight is out of range");
        return result;
    }
    result.workoutPath = QString::fromUtf8(rest.left(pathEnd));
    result.weightPounds = static_cast<int>(weight);
    return result;
}

} // namespace kntr
