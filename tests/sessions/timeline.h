#pragma once
// A readable timeline of one session, merged by time from several sources:
// the script's own steps, the program, the handset, Skype.

#include <driver.h>

#include <string>
#include <vector>

namespace sessions {

class Timeline {
public:
    explicit Timeline(double originMs) : originMs_(originMs) {}

    void add(double atMs, const char* source, std::string text);

    // The handset's records. With pinDetail off, the pin and EEPROM traffic is
    // left out and what it carried (keys read, commands taken) stays.
    void addHandsetRecords(simhandset::HandsetDriver& driver, const std::vector<simhandset::IndexedRecord>& records,
                           bool pinDetail);

    void print() const;

private:
    struct Line {
        double atMs;
        std::string source;
        std::string text;
    };

    double originMs_;
    std::vector<Line> lines_;
};

} // namespace sessions
