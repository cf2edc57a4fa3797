#pragma once

namespace kntr {

/// What the user sees distances, speeds and weights in. Segments always hold
/// mph, miles, pounds and seconds; kilometres exist only on screen and in what
/// is written for the user.
enum class Units { Miles, Kilometres };

inline constexpr double kKilometresPerMile = 1.61;
inline constexpr double kKilogramsPerPound = 0.4535924;

} // namespace kntr
