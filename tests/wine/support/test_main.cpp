// Each test program gets a simulated handset of its own, whatever else runs
// in the same Wine prefix.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

int main(int argc, char** argv)
{
    const std::string channel = "telvane-test-" + std::to_string(::GetCurrentProcessId());
    ::SetEnvironmentVariableA("TELVANE_SIMHANDSET", channel.c_str());
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
