#pragma once

#include <QList>
#include <QMargins>
#include <QRect>
#include <QSize>

namespace tesmora {

// The main window's client size as its controls are laid out, and the
// preview's place in it when the frame is shown pixel for pixel.
inline constexpr QSize kDesignClientSize(960, 705);
inline constexpr QRect kDesignPreviewPlace(40, 126, 720, 576);

// The column of the reading and output choices, above the subtitle list, as
// placed at the design size.
inline constexpr int kChoicesLeft = 804;
inline constexpr int kChoicesTop = 92;
inline constexpr int kChoicesWidth = 148;
inline constexpr int kChoicesBottom = 330;

// The smallest client size the user may make the window: the control rows in
// full, the choices column below them, a few rows of the subtitle list and a
// preview a quarter of the frame's size.
QSize MinimumClientSize();

// How far the choices column and the subtitle list below it lie from their
// design place in a client area of `client` pixels. The column keeps to the
// right edge; in a window narrower than the design it would run into the
// style row, so it moves down below that row.
QPoint ChoicesShift(QSize client);

// Where the subtitle list is in a client area of `client` pixels: below the
// choices, down to the bottom.
QRect SubtitleListPlace(QSize client);

// The client size the window opens with on a screen whose available area is
// `available`, the window frame taking `frame` around the client area: the
// design size, made smaller where the area has less room (never below the
// minimum).
QSize FittedClientSize(QSize available, QMargins frame);

// Where a frame of `frame` pixels is shown in a client area of `client`
// pixels: scaled by one factor both ways to the room below the control rows
// and left of the choices column (the room of a 576-line frame, so both
// standards share the factor), centred across that room. At the design size
// this is the frame's own size at the design place.
QRect PreviewPlace(QSize client, QSize frame);

// Whether a window whose frame takes `frame` would be visible on the screen
// areas: enough of its title bar lies on one of them for the user to take
// hold of it, and most of the window lies on them.
bool ShowsOnAScreen(const QRect& frame, const QList<QRect>& screenAreas);

}  // namespace tesmora
