// The stand-in answers the commands telvane sends as the client did; the
// tests of the program's Skype handling build on these answers.

#include "link_session.h"

using namespace wine_tests;

TEST(SkypeStandin, AnswersTheCommandsTelvaneSends)
{
    struct Step {
        const char* script;  // a script line for the stand-in, or null
        const char* command; // a command over the link, or null
        std::vector<std::string> answers;
    };
    const Step steps[] = {
        {nullptr, "PROTOCOL 5", {"PROTOCOL 5"}},
        {"incoming 7 INCOMING_P2P", nullptr, {"CALL 7 STATUS RINGING"}},
        {nullptr, "GET CALL 7 TYPE", {"CALL 7 TYPE INCOMING_P2P"}},
        {nullptr, "GET CALL 7 STATUS", {"CALL 7 STATUS RINGING"}},
        {nullptr, "SET CALL 7 STATUS INPROGRESS", {"CALL 7 STATUS INPROGRESS"}},
        {"outgoing 8 OUTGOING_PSTN", nullptr, {"CALL 8 STATUS ROUTING"}},
        {nullptr, "SEARCH ACTIVECALLS", {"CALLS 7, 8"}},
        {nullptr, "SET CALL 7 DTMF #", {"SET CALL 7 DTMF #"}},
        {nullptr, "SET CALL 8 DTMF 5", {"ERROR 41 Call not active"}},
        {nullptr, "BTN_PRESSED 1", {"BTN_PRESSED 1"}},
        {nullptr, "BTN_RELEASED YES", {"BTN_RELEASED YES"}},
        {nullptr, "BTN_RELEASED FOO", {"ERROR 74 Invalid key"}},
        {"echo buttons off", "BTN_PRESSED 2", {}},
        {"echo dtmf off", "SET CALL 7 DTMF 3", {}},
        {nullptr, "HOOK OFF", {"HOOK OFF"}},
        {nullptr, "FOCUS", {"FOCUS"}},
        {nullptr, "MINIMIZE", {"MINIMIZE"}},
        {nullptr, "OPEN CONTACTS", {"OPEN CONTACTS"}},
        {nullptr, "SET AUDIO_IN USB Audio Device", {"AUDIO_IN USB Audio Device"}},
        {nullptr, "SET AUDIO_OUT", {"AUDIO_OUT "}},
        {nullptr, "SET CALL 7 STATUS FINISHED", {"CALL 7 STATUS FINISHED"}},
        {nullptr, "SET CALL 7 STATUS FINISHED", {"ERROR 24 Cannot hangup inactive call"}},
        {"status 8 BUSY", nullptr, {"CALL 8 STATUS BUSY"}},
        {nullptr, "SEARCH ACTIVECALLS", {"CALLS "}},
        {"empty-calls bare", "SEARCH ACTIVECALLS", {"CALLS"}},
        {nullptr, "GET CALL 99 STATUS", {"ERROR 12 Unknown call"}},
        {"userstatus DND", nullptr, {"USERSTATUS DND"}},
        {nullptr, "GET USERSTATUS", {"USERSTATUS DND"}},
        {nullptr, "#4 GET CURRENTUSERHANDLE", {"#4 CURRENTUSERHANDLE telvane.tester"}},
        {nullptr, "HANG UP", {"ERROR 2 Unknown command"}},
    };
    LinkSession s;
    s.attach();
    for (const auto& step : steps) {
        SCOPED_TRACE(step.command ? step.command : step.script);
        const size_t from = s.arrivalCount();
        if (step.script) {
            ASSERT_TRUE(s.skype().run(step.script));
        }
        if (step.command)
            skype::win::SendSkypeCommand(step.command);
        // Answers come nested in the send, script lines are done when run returns.
        std::vector<std::string> answers;
        for (const auto& a : s.arrivals(from)) {
            if (a.text != "PONG") // the keep-alive's
                answers.push_back(a.text);
        }
        EXPECT_EQ(answers, step.answers);
    }
}
