#pragma once

class QWidget;

// The reader window's placement in the per-user settings store, group "Settings": the frame's
// place and size in twips as decimal text ("MainLeft", "MainTop", "MainWidth", "MainHeight"),
// and the window's own record of its geometry ("MainGeometry"), which also knows whether it was
// maximized and how large its frame is.
namespace PlacementStore {

void write(QWidget &window);
// Opens the window where it was left, whole on one of the screens present now. A store without
// the window's own record gives the frame's place and size.
void read(QWidget &window);

} // namespace PlacementStore
