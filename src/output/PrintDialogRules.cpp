#include "output/PrintDialogRules.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/Rounding.h"

namespace tovrimo {

double LeadingNumber(const QString& text)
{
    int i = 0;
    const int n = static_cast<int>(text.size());
    while (i < n && (text[i] == u' ' || text[i] == u'\t')) {
        ++i;
    }
    QString number;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        number += text[i++];
    }
    bool point = false;
    bool digits = false;
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (c >= u'0' && c <= u'9') {
            digits = true;
            number += c;
        } else if (c == u'.' && !point) {
            point = true;
            number += c;
        } else {
            break;
        }
    }
    if (!digits) {
        return 0;
    }
    bool ok = false;
    const double v = number.toDouble(&ok);
    return ok ? v : 0;
}

std::optional<double> ParseNumber(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty()) {
        return std::nullopt;
    }
    bool ok = false;
    const double v = t.toDouble(&ok);  // C locale: "." is the decimal point
    if (!ok || !std::isfinite(v)) {
        return std::nullopt;
    }
    return v;
}

bool ScaleOutOfRange(double value, bool boxEnabled)
{
    return boxEnabled && (value < 0 || value > kScaleMaximum);
}

int16_t StoredScale(double value)
{
    const double limited =
        std::clamp(value, static_cast<double>(std::numeric_limits<int16_t>::min()),
                   static_cast<double>(std::numeric_limits<int16_t>::max()));
    return static_cast<int16_t>(nearestEven(limited));
}

int ScaleStepUp(int position)
{
    return std::min(kScaleStep * ((position + kScaleStep) / kScaleStep), kScaleMaximum);
}

int ScaleStepDown(int position)
{
    return std::max(kScaleStep * ((position - kScaleStep) / kScaleStep), kScaleMinimum);
}

std::optional<QString> ManualScaleCorrection(double value)
{
    if (value > kScaleMaximum) {
        return QString::number(kScaleMaximum);
    }
    if (value < 0) {
        return QString::number(kScaleDefault);
    }
    return std::nullopt;
}

bool ScaleKeyPasses(QChar typed)
{
    return (typed >= u'0' && typed <= u'9') || typed == u'\b';
}

bool ScalePastePasses(const QString& pasted)
{
    if (pasted.isEmpty()) {
        return false;
    }
    return std::all_of(pasted.begin(), pasted.end(),
                       [](QChar c) { return c >= u'0' && c <= u'9'; });
}

int FitPercent(int64_t fittedWidthTwips, int64_t imageWidthPixels, double screenTwipsPerPixelX)
{
    const double actual = static_cast<double>(imageWidthPixels) * screenTwipsPerPixelX;
    if (actual <= 0) {
        return 0;
    }
    const double percent = std::floor(static_cast<double>(fittedWidthTwips) / actual * 100.0);
    return static_cast<int>(
        std::clamp(percent, 0.0, static_cast<double>(std::numeric_limits<int16_t>::max())));
}

QString FormatCentimetres(double cm)
{
    // Rounded as the user reads it; "-0.00" would look like a different place than "0.00".
    QString text = QString::number(cm, 'f', 2);
    if (text == QStringLiteral("-0.00")) {
        text = QStringLiteral("0.00");
    }
    return text;
}

TitleEdit InsertField(const QString& text, int position, const QString& field)
{
    const int s = std::clamp(position, 0, static_cast<int>(text.size()));
    return {text.left(s) + field + text.mid(s), s + static_cast<int>(field.size())};
}

}  // namespace tovrimo
