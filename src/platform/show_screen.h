#pragma once

class QWidget;

namespace vantrel {

// What a menu item does with its screen: makes the window visible (screens are not modal),
// brings it in front of the others and makes it the active window, which activates it. The
// first time, it is sized to fit the screen's available area and centred (FitAndCentre()).
void ShowScreen(QWidget& screen);

}  // namespace vantrel
