#pragma once

class QWidget;

// Centres a dialog horizontally on its screen with its top 100 pixels down, where the code
// table dialogs have always opened.
void placeCentredNearTop(QWidget &dialog);
