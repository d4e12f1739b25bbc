// Angles and points shared by the eye diagrams.
#pragma once

#include <QPointF>
#include <cmath>
#include <numbers>

namespace assetgen {

inline constexpr double kPi = std::numbers::pi;

// The point at `radius` from `centre` in the direction `degrees` (clockwise on screen).
inline QPointF Polar(QPointF centre, double radius, double degrees) {
  const double a = degrees * kPi / 180.0;
  return centre + QPointF(std::cos(a), std::sin(a)) * radius;
}

}  // namespace assetgen
