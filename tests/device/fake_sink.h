#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "device/send_pass.h"

namespace t30::test {

// Takes every report unless told to refuse some; remembers what it took.
class RecordingSink : public FeatureSink {
  public:
    bool SetFeature(const uint8_t* data, std::size_t size) override {
        std::vector<uint8_t> report(data, data + size);
        if (refuse && refuse(report)) {
            ++refused;
            return false;
        }
        reports.push_back(std::move(report));
        return true;
    }
    std::vector<uint8_t> Ids() const {
        std::vector<uint8_t> ids;
        for (const auto& r : reports) {
            ids.push_back(r[0]);
        }
        return ids;
    }
    std::function<bool(const std::vector<uint8_t>&)> refuse;
    std::vector<std::vector<uint8_t>> reports;
    int refused = 0;
};

class RecordingSleeper : public Sleeper {
  public:
    void SleepMs(unsigned ms) override { sleeps.push_back(ms); }
    std::vector<unsigned> sleeps;
};

}  // namespace t30::test
