#pragma once
// The program's own pictures, drawn with QPainter: the logo of the about window and the terrain
// picture of the welcome window, both in the blue-to-red colours of the Z gradient.
#include <QPixmap>
#include <QSize>

namespace terravel {

// A square logo: a little triangle-mesh mountain on the Z colour ramp.
QPixmap TerravelLogo(int size);

// A small terrain mesh seen from above at an angle, coloured by height, on white.
QPixmap WelcomePicture(const QSize& size);

}  // namespace terravel
