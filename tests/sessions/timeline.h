#pragma once
// A readable timeline of one session: what the application received and what
// the handset saw, merged by time.

#include <driver.h>

#include <string>
#include <vector>

namespace sessions {

class Timeline {
public:
    explicit Timeline(double originMs) : originMs_(originMs) {}

    void application(double atMs, std::string text) { add(atMs, 0, std::move(text)); }
    void handset(double atMs, std::string text) { add(atMs, 1, std::move(text)); }
    void note(double atMs, std::string text) { add(atMs, 2, std::move(text)); }

    // The handset's records, without the noise of the ACK worker's pin
    // handshakes unless they changed something.
    void addHandsetRecords(simhandset::HandsetDriver& driver, const std::vector<simhandset::IndexedRecord>& records);

    void print() const;

private:
    struct Line {
        double atMs;
        int column; // 0 application, 1 handset, 2 script
        std::string text;
    };
    void add(double atMs, int column, std::string text);

    double originMs_;
    std::vector<Line> lines_;
};

} // namespace sessions
