#pragma once

class QFont;
class QFontDialog;
class QWidget;

namespace tovrimo {

// Offers only the point sizes minPoints..maxPoints in Qt's own font dialog: the size list
// shows no others and the size field accepts no others.
void LimitFontDialogSizes(QFontDialog& dialog, int minPoints, int maxPoints);

// The vertical pixels per inch of the owner's screen (of the primary screen without owner).
double VerticalPixelsPerInch(const QWidget* owner);

// The chosen font's size in points as a whole number.
double FontPointSize(const QFont& font, double pixelsPerInch);

}  // namespace tovrimo
