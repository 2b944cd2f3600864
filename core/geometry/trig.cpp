#include "trig.h"

#include <cmath>

namespace lapwerk {

TrigTables BuildTrigTables() {
    TrigTables tables{};
    // pi rounded to single precision, as the tables have always been built with it; being a
    // little larger than pi it keeps cos[240] at 16383 and cos[720] at -32767.
    constexpr float kPi32 = 3.14159265358979323846f;
    float degrees = 0.0f;
    for (int i = 0; i < 1440; ++i) {
        const double radians = static_cast<double>(
            (1.0L / 180.0L) * static_cast<long double>(degrees) * static_cast<long double>(kPi32));
        tables.cos[i] = static_cast<int32_t>(std::trunc(std::cos(radians) * 32768.0));
        tables.sin[i] = static_cast<int32_t>(std::trunc(std::sin(radians) * 32768.0));
        degrees += 0.25f;
    }
    return tables;
}

} // namespace lapwerk
