#pragma once

// Positions and sizes in the model are twips: 1440 per inch, 20 per point.
// Conversions to other units happen only where the model meets a device.
namespace Orv::Units {

constexpr double TwipsPerInch = 1440.0;
constexpr double TwipsPerPoint = 20.0;
constexpr double TwipsPerCm = TwipsPerInch / 2.54;
constexpr double ScreenDpi = 96.0;
constexpr double TwipsPerPixel = TwipsPerInch / ScreenDpi; // 15 at 96 dpi

// The largest coordinate the model accepts: about 13,900 inches. Anything
// beyond is damage, not a report.
constexpr double MaxTwips = 20000000.0;

constexpr double twipsToInches(double t) { return t / TwipsPerInch; }
constexpr double inchesToTwips(double in) { return in * TwipsPerInch; }
constexpr double twipsToPoints(double t) { return t / TwipsPerPoint; }
constexpr double pointsToTwips(double pt) { return pt * TwipsPerPoint; }
constexpr double twipsToPixels(double t, double dpi = ScreenDpi) { return t * dpi / TwipsPerInch; }
constexpr double pixelsToTwips(double px, double dpi = ScreenDpi) { return px * TwipsPerInch / dpi; }

} // namespace Orv::Units
