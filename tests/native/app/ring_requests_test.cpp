#include "virtual_clock.h"

#include <ring_requests.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using app::RingRequests;
using testing_support::VirtualClock;

namespace {

struct Event {
    double at;
    std::string what;

    friend bool operator==(const Event& a, const Event& b) { return a.at == b.at && a.what == b.what; }
    friend std::ostream& operator<<(std::ostream& os, const Event& e) { return os << e.what << "@" << e.at; }
};

using Events = std::vector<Event>;

// Records the ringer and the flag; runs window timers on the virtual clock.
class TimerHost final : public app::RingHost {
public:
    explicit TimerHost(VirtualClock& clock) : clock_(clock) {}

    void turnOnBuzzer(int on) override { events.push_back({clock_.nowMs(), on ? "ringer on" : "ringer off"}); }
    void setRingRequested(bool requested) override
    {
        ringRequested = requested;
        events.push_back({clock_.nowMs(), requested ? "requested" : "not requested"});
    }
    void startTimer(int id, std::uint32_t periodMs) override
    {
        timers_[id] = {periodMs, clock_.nowMs() + periodMs, ++generation_};
    }
    void stopTimer(int id) override { timers_.erase(id); }

    // Delivers every tick due up to `untilMs`, in time order.
    void runUntil(double untilMs, RingRequests& requests)
    {
        for (;;) {
            auto next = timers_.end();
            for (auto it = timers_.begin(); it != timers_.end(); ++it)
                if (it->second.due <= untilMs && (next == timers_.end() || it->second.due < next->second.due))
                    next = it;
            if (next == timers_.end())
                break;
            const int id = next->first;
            const unsigned generation = next->second.generation;
            clock_.advance(next->second.due - clock_.nowMs());
            requests.onTimer(id);
            auto still = timers_.find(id);
            if (still != timers_.end() && still->second.generation == generation)
                still->second.due += still->second.period;
        }
        clock_.advance(untilMs - clock_.nowMs());
    }

    bool timersRunning() const { return !timers_.empty(); }

    Events events;
    bool ringRequested = false;

private:
    struct Timer {
        std::uint32_t period;
        double due;
        unsigned generation;
    };

    VirtualClock& clock_;
    std::map<int, Timer> timers_;
    unsigned generation_ = 0;
};

struct Rig {
    VirtualClock clock;
    TimerHost host{clock};
    RingRequests requests{host};

    void at(double ms) { host.runUntil(ms, requests); }
};

const Events kBurstStart{{0, "requested"}, {0, "ringer on"}};

} // namespace

TEST(RingBurst, RingsAboutFiveSecondsThenStopsByItself)
{
    Rig rig;
    rig.requests.onBuzzerOn(app::kXLite);
    rig.at(5099);
    EXPECT_EQ(rig.host.events, kBurstStart);
    EXPECT_TRUE(rig.host.ringRequested);

    rig.at(60000);
    EXPECT_EQ(rig.host.events, (Events{{0, "requested"}, {0, "ringer on"}, {5100, "ringer off"},
                                       {5100, "not requested"}}));
    EXPECT_FALSE(rig.host.timersRunning());
    EXPECT_FALSE(rig.requests.bursting());
}

TEST(RingBurst, OnlyWithXLiteSelected)
{
    for (app::SoftphoneIndex selected : {-1, 0, 1, 2, 3, 5, 6}) {
        SCOPED_TRACE(selected);
        Rig rig;
        rig.requests.onBuzzerOn(selected);
        rig.at(10000);
        EXPECT_EQ(rig.host.events, Events{});
        EXPECT_FALSE(rig.host.timersRunning());
    }
}

TEST(RingBurst, AnotherRequestStartsItAfresh)
{
    struct Row {
        const char* name;
        double secondAt;
    };
    // While sounding, and in the last 100 ms once the switch-off is armed.
    for (const Row& row : {Row{"sounding", 3000}, Row{"ending", 5050}}) {
        SCOPED_TRACE(row.name);
        Rig rig;
        rig.requests.onBuzzerOn(app::kXLite);
        rig.at(row.secondAt);
        rig.requests.onBuzzerOn(app::kXLite);
        rig.at(60000);
        const double end = row.secondAt + 5100;
        EXPECT_EQ(rig.host.events, (Events{{0, "requested"}, {0, "ringer on"}, {row.secondAt, "requested"},
                                           {row.secondAt, "ringer on"}, {end, "ringer off"}, {end, "not requested"}}));
        EXPECT_FALSE(rig.host.timersRunning());
    }
}

TEST(RingBurst, OffEndsItForGood)
{
    for (double offAt : {0.0, 2000.0, 5050.0}) {
        SCOPED_TRACE(offAt);
        Rig rig;
        rig.requests.onBuzzerOn(app::kXLite);
        rig.at(offAt);
        rig.requests.onBuzzerOff();
        rig.at(60000);
        EXPECT_EQ(rig.host.events, (Events{{0, "requested"}, {0, "ringer on"}, {offAt, "not requested"},
                                           {offAt, "ringer off"}}));
        EXPECT_FALSE(rig.host.timersRunning());
    }
}

TEST(RingBurst, OffWithoutBurstWhateverIsSelected)
{
    Rig rig;
    rig.requests.onBuzzerOff();
    EXPECT_EQ(rig.host.events, (Events{{0, "not requested"}, {0, "ringer off"}}));
}

// A stopped timer can still have a tick in the queue.
TEST(RingBurst, TicksAfterTheBurstWasCalledOffChangeNothing)
{
    Rig rig;
    rig.requests.onBuzzerOn(app::kXLite);
    rig.requests.onBuzzerOff();
    rig.host.events.clear();

    EXPECT_TRUE(rig.requests.onTimer(app::kRingBurstHoldTimer));
    EXPECT_TRUE(rig.requests.onTimer(app::kRingBurstEndTimer));
    EXPECT_EQ(rig.host.events, Events{});
    EXPECT_FALSE(rig.host.timersRunning());
}

TEST(RingBurst, OtherTimersAreNotItsOwn)
{
    Rig rig;
    rig.requests.onBuzzerOn(app::kXLite);
    rig.host.events.clear();
    for (int id : {0, 1, 5, 7, 11, 99}) {
        SCOPED_TRACE(id);
        EXPECT_FALSE(rig.requests.onTimer(id));
    }
    EXPECT_EQ(rig.host.events, Events{});
    EXPECT_TRUE(rig.requests.bursting());
}

TEST(SipRing, OnlyForXLiteAndEyeBeam)
{
    for (app::SoftphoneIndex selected : {-1, 0, 1, 2, 3, 4, 5, 6}) {
        SCOPED_TRACE(selected);
        Rig rig;
        rig.requests.onSipRing(true, selected);
        rig.requests.onSipRing(false, selected);
        const bool rings = selected == app::kXLite || selected == app::kEyeBeam;
        const Events expected = rings ? Events{{0, "ringer on"}, {0, "ringer off"}} : Events{};
        EXPECT_EQ(rig.host.events, expected);
    }
}
