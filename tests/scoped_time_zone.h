#pragma once

#include <time.h>

#include <cstdlib>
#include <optional>
#include <string>

// Pins the process's time zone for one test and puts the previous one back afterwards, so
// that local-time results do not depend on the machine the tests run on.
class ScopedTimeZone {
  public:
    explicit ScopedTimeZone(const char* zone) {
        if (const char* previous = std::getenv("TZ")) {
            previous_ = previous;
        }
        Use(zone);
    }
    ~ScopedTimeZone() {
        if (previous_) {
            setenv("TZ", previous_->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

    static void Use(const char* zone) {
        setenv("TZ", zone, 1);
        tzset();
    }

  private:
    std::optional<std::string> previous_;
};
