#pragma once

class QCoreApplication;

// Positions and sizes are screen pixels: Qt would otherwise scale every window by the screen's
// device-pixel ratio, or by a factor the user's environment sets. Must run before the
// application object is built.
void TurnOffScreenScaling();

// The texts Qt itself shows (the fields' context menu, the notice's button) in German, whatever
// the machine's language. The translation is built into the program; without it, Qt's own
// English texts remain and the program runs all the same.
void UseGermanForQtTexts(QCoreApplication& application);
