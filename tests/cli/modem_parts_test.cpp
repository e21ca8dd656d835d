// The modem emulator's interpreter and number table, with a recording line
// and a clock the test moves.
#include <gtest/gtest.h>

#include "cli/modem/dial_directory.h"
#include "cli/modem/hayes_modem.h"

namespace kesta::modem {
namespace {

struct RecordingLine : ModemLine {
  void toTerminal(std::string_view bytes) override { terminal += bytes; }
  void toHost(std::string_view bytes) override { host += bytes; }
  DialResult dial(const std::string& number) override {
    dialled.push_back(number);
    return answer;
  }
  void hangUp() override { ++hangUps; }
  void note(const std::string&) override {}
  std::string terminal, host;
  std::vector<std::string> dialled;
  DialResult answer = DialResult::kConnected;
  int hangUps = 0;
};

struct CommandCase {
  const char* typed;
  const char* reply;  // everything the terminal sees, echo included
};

TEST(HayesModem, CommandsAnswerOkOrError) {
  const std::vector<CommandCase> cases = {
      {"AT\r", "AT\r\r\nOK\r\n"},
      {"at\r", "at\r\r\nOK\r\n"},
      {"ATZ\r", "ATZ\r\r\nOK\r\n"},
      {"AT&F\r", "AT&F\r\r\nOK\r\n"},
      {"ATE1 V1 X4 M0 L2 &C1 &D2 &K3 \\N0 %C0\r", "ATE1 V1 X4 M0 L2 &C1 &D2 &K3 \\N0 %C0\r\r\nOK\r\n"},
      {"ATS0=2S0?\r", "ATS0=2S0?\r\r\n002\r\n\r\nOK\r\n"},
      {"ATS12?\r", "ATS12?\r\r\n050\r\n\r\nOK\r\n"},
      {"ATS300=1\r", "ATS300=1\r\r\nERROR\r\n"},
      {"ATS\r", "ATS\r\r\nERROR\r\n"},
      {"ATE2\r", "ATE2\r\r\nERROR\r\n"},
      {"ATJ\r", "ATJ\r\r\nERROR\r\n"},
      {"AT&\r", "AT&\r\r\nERROR\r\n"},
      {"ATH\r", "ATH\r\r\nOK\r\n"},
      {"ATO\r", "ATO\r\r\nNO CARRIER\r\n"},
      {"ATA\r", "ATA\r\r\nNO CARRIER\r\n"},
      {"ATD\r", "ATD\r\r\nERROR\r\n"},
      {"hello\r", "hello\r"},  // not a command: no answer
      {"\r", "\r"},
      {"ATX\b\bT\r", "ATX\b \b\b \bT\r\r\nOK\r\n"},
      {"ATE0\rAT\r", "ATE0\r\r\nOK\r\n\r\nOK\r\n"},
      {"ATV0\rAT\rATJ\r", "ATV0\r0\rAT\r0\rATJ\r4\r"},
      {"ATQ1\rAT\r", "ATQ1\rAT\r"},  // quiet: echo, no results
      {"ATS3=10\rAT\n", "ATS3=10\r\r\nOK\r\nAT\n\r\nOK\r\n"},
  };
  for (const auto& c : cases) {
    RecordingLine line;
    HayesModem modem(line);
    modem.fromTerminal(c.typed, 0);
    EXPECT_EQ(line.terminal, c.reply) << c.typed;
    EXPECT_TRUE(line.dialled.empty()) << c.typed;
  }
}

TEST(HayesModem, ALongCommandIsAnErrorAndARepeatRunsTheLastOne) {
  RecordingLine line;
  HayesModem modem(line);
  modem.fromTerminal("ATE0\r", 0);
  modem.fromTerminal("AT" + std::string(1000, 'X') + "\r", 0);
  EXPECT_EQ(line.terminal, "ATE0\r\r\nOK\r\n\r\nERROR\r\n");
  line.terminal.clear();
  modem.fromTerminal("ATS7?\r", 0);
  modem.fromTerminal("A/", 0);
  EXPECT_EQ(line.terminal, "\r\n050\r\n\r\nOK\r\n\r\n050\r\n\r\nOK\r\n");
}

struct DialCase {
  const char* typed;
  DialResult answer;
  const char* number;
  const char* reply;
  bool online;
};

TEST(HayesModem, DialResults) {
  const std::vector<DialCase> cases = {
      {"ATDT555-1234\r", DialResult::kConnected, "555-1234", "\r\nCONNECT 38400\r\n", true},
      {"ATDP 127.0.0.1:2323\r", DialResult::kConnected, "127.0.0.1:2323", "\r\nCONNECT 38400\r\n", true},
      {"atdtlocalhost:23;\r", DialResult::kConnected, "localhost:23", "\r\nCONNECT 38400\r\n", true},
      {"ATD 77\r", DialResult::kBusy, "77", "\r\nBUSY\r\n", false},
      {"ATDT77\r", DialResult::kNoAnswer, "77", "\r\nNO ANSWER\r\n", false},
      {"ATDT77\r", DialResult::kNoDialtone, "77", "\r\nNO DIALTONE\r\n", false},
  };
  for (const auto& c : cases) {
    RecordingLine line;
    line.answer = c.answer;
    HayesModem modem(line);
    modem.fromTerminal("ATE0\r", 0);
    line.terminal.clear();
    modem.fromTerminal(c.typed, 0);
    ASSERT_EQ(line.dialled.size(), 1u) << c.typed;
    EXPECT_EQ(line.dialled[0], c.number);
    EXPECT_EQ(line.terminal, c.reply) << c.typed;
    EXPECT_EQ(modem.online(), c.online) << c.typed;
  }
}

// Online: bytes pass both ways; "+++" with a second of silence on each side
// returns to commands and ATH ends the call.
TEST(HayesModem, EscapeNeedsItsGuardTimes) {
  struct EscapeCase {
    const char* what;
    std::vector<std::pair<long long, std::string>> typed;  // at ms, bytes
    long long tickAt;
    bool escaped;
  };
  const std::vector<EscapeCase> cases = {
      {"silence, +++, silence", {{5000, "data"}, {6100, "+++"}}, 7200, true},
      {"pluses one by one", {{5000, "x"}, {6100, "+"}, {6300, "+"}, {6500, "+"}}, 7600, true},
      {"no silence before", {{5000, "data"}, {5500, "+++"}}, 7000, false},
      {"no silence after", {{5000, "x"}, {6100, "+++"}}, 6500, false},
      {"data right after", {{5000, "x"}, {6100, "+++"}, {6200, "y"}}, 8000, false},
      {"pluses too far apart", {{5000, "x"}, {6100, "+"}, {7200, "+"}, {8300, "+"}}, 9400, false},
      {"four pluses", {{5000, "x"}, {6100, "++++"}}, 7200, false},
  };
  for (const auto& c : cases) {
    RecordingLine line;
    HayesModem modem(line);
    modem.fromTerminal("ATE0DT1\r", 0);
    ASSERT_TRUE(modem.online());
    line.terminal.clear();
    std::string sent;
    for (const auto& [at, bytes] : c.typed) {
      modem.tick(at);
      modem.fromTerminal(bytes, at);
      sent += bytes;
    }
    modem.tick(c.tickAt);
    EXPECT_EQ(!modem.online(), c.escaped) << c.what;
    EXPECT_EQ(line.host, sent) << c.what;  // the pluses reach the host too
    EXPECT_EQ(line.terminal, c.escaped ? "\r\nOK\r\n" : "") << c.what;
    EXPECT_TRUE(modem.connected()) << c.what;
  }
}

TEST(HayesModem, HangingUpEndsTheCallWithNoCarrier) {
  RecordingLine line;
  HayesModem modem(line);
  modem.fromTerminal("ATE0DT1\r", 0);
  modem.fromHost("welcome");
  EXPECT_EQ(line.terminal, "ATE0DT1\r\r\nCONNECT 38400\r\nwelcome");  // E0 counts from the next line
  modem.fromTerminal("+++", 2000);
  modem.tick(3100);
  modem.fromHost("dropped while in command mode");
  modem.fromTerminal("ATO\r", 3200);
  EXPECT_TRUE(modem.online());
  modem.fromTerminal("+++", 5000);
  modem.tick(6100);
  line.terminal.clear();
  modem.fromTerminal("ATH\r", 6200);
  EXPECT_EQ(line.terminal, "\r\nNO CARRIER\r\n");
  EXPECT_EQ(line.hangUps, 1);
  EXPECT_FALSE(modem.connected());

  const std::vector<std::pair<const char*, std::function<void(HayesModem&)>>> ends = {
      {"host closed", [](HayesModem& m) { m.hostClosed(); }},
      {"DTR dropped", [](HayesModem& m) { m.dtrDropped(); }},
  };
  for (const auto& [what, end] : ends) {
    RecordingLine l;
    HayesModem m(l);
    m.fromTerminal("ATE0DT1\r", 0);
    l.terminal.clear();
    end(m);
    EXPECT_EQ(l.terminal, "\r\nNO CARRIER\r\n") << what;
    EXPECT_FALSE(m.connected()) << what;
    l.terminal.clear();
    end(m);  // once only
    EXPECT_EQ(l.terminal, "") << what;
    m.fromTerminal("AT\r", 100);
    EXPECT_EQ(l.terminal, "\r\nOK\r\n") << what;
  }
}

TEST(DialDirectory, NumbersHostsAndTheDefault) {
  DialDirectory directory;
  std::string error;
  ASSERT_TRUE(directory.parse("# demo numbers\n01-234 5678  127.0.0.1:2323\r\n\n  999 localhost:23\n", &error))
      << error;
  const std::vector<std::tuple<std::string, std::string, int>> found = {
      {"012345678", "127.0.0.1", 2323}, {"01 234-5678", "127.0.0.1", 2323}, {"(999)", "localhost", 23},
      {"10.0.0.1:80", "10.0.0.1", 80}, {"[::1]:2323", "[::1]", 2323}};
  for (const auto& [number, host, port] : found) {
    auto target = directory.lookUp(number);
    ASSERT_TRUE(target) << number;
    EXPECT_EQ(target->host, host) << number;
    EXPECT_EQ(target->port, port) << number;
  }
  EXPECT_FALSE(directory.lookUp("12345"));
  directory.setDefault({"127.0.0.1", 23});
  EXPECT_EQ(directory.lookUp("12345")->port, 23);

  for (const char* bad : {"123\n", "123 host\n", "123 host:0\n", "123 host:65536\n", "123 host:23 extra\n", "host:23\n",
                          "123 :23\n", "123 host:2x\n"}) {
    DialDirectory d;
    EXPECT_FALSE(d.parse(bad, &error)) << bad;
    EXPECT_NE(error.find("line 1"), std::string::npos) << bad;
  }
}

}  // namespace
}  // namespace kesta::modem
