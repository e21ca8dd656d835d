// kesta-cli modem on its pseudo-terminal, dialling kesta-cli host on
// 127.0.0.1: commands, a call with bytes both ways, a ZMODEM download by
// lrzsz's rz on the serial side, and every way a call ends.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <termios.h>

#include <csignal>
#include <filesystem>

#include "tests/cli/host_harness.h"

namespace kesta::host::test {
namespace {

namespace fs = std::filesystem;

// The program's side of the serial line: the port opened through the link.
class SerialPort {
 public:
  explicit SerialPort(const std::string& path) {
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY);
    if (fd_ >= 0) {
      termios t{};
      ::tcgetattr(fd_, &t);
      ::cfmakeraw(&t);
      ::cfsetspeed(&t, B38400);
      ::tcsetattr(fd_, TCSANOW, &t);
    }
  }
  ~SerialPort() { close(); }
  void close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }
  int fd() const { return fd_; }
  void send(const std::string& bytes) { ASSERT_EQ(::write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size())); }
  // Reads until `text` (raw bytes) appears after what earlier waits took.
  bool waitFor(const std::string& text, double seconds = 10) {
    auto end = Clock::now() + std::chrono::duration<double>(seconds);
    for (;;) {
      auto at = got_.find(text, consumed_);
      if (at != std::string::npos) {
        consumed_ = at + text.size();
        return true;
      }
      if (Clock::now() >= end) return false;
      pollfd p{fd_, POLLIN, 0};
      if (::poll(&p, 1, 50) > 0) {
        char block[4096];
        ssize_t n = ::read(fd_, block, sizeof block);
        if (n <= 0) return false;
        got_.append(block, static_cast<std::size_t>(n));
      }
    }
  }
  // Sends nothing for a while, reading what comes.
  void quiet(double seconds) { waitFor(std::string("\x01\x02\x03never", 8), seconds); }
  const std::string& got() const { return got_; }

 private:
  int fd_ = -1;
  std::string got_;
  std::size_t consumed_ = 0;
};

std::string cp949(const std::string& utf8) { return xlat::convert(xlat::Code::Utf8, xlat::Code::Cp949, utf8); }

class ModemInterop : public ::testing::Test {
 protected:
  void SetUp() override {
    std::signal(SIGPIPE, SIG_IGN);
    data_ = (dir_.path() / "data").string();
    host_ = std::make_unique<HostProcess>(data_, 6, (dir_.path() / "host.log").string());
    ASSERT_GT(host_->port(), 0) << host_->log();
    link_ = (dir_.path() / "com1").string();
    std::string numbers = (dir_.path() / "numbers.txt").string();
    std::ofstream(numbers) << "# the demo host\n02-555-0119 127.0.0.1:" << host_->port() << "\n";
    modem_ = std::make_unique<CliProcess>(std::vector<std::string>{"modem", "--link", link_, "--numbers", numbers},
                                          (dir_.path() / "modem.log").string(), "ready on");
    ASSERT_TRUE(fs::is_symlink(link_)) << modem_->log();
  }
  void TearDown() override {
    if (modem_) {
      EXPECT_EQ(modem_->stop(), 0) << modem_->log();
      EXPECT_FALSE(fs::exists(fs::symlink_status(link_))) << "the link stays behind";
    }
    if (host_) {
      EXPECT_EQ(host_->stop(), 0);
    }
  }
  // Dials the demo host and logs in up to the main menu.
  void callHost(SerialPort& port, const std::string& name) {
    port.send("ATE0\r");
    ASSERT_TRUE(port.waitFor("OK\r\n"));
    port.send("ATDT 02-555-0119\r");
    ASSERT_TRUE(port.waitFor("\r\nCONNECT 38400\r\n")) << modem_->log();
    ASSERT_TRUE(port.waitFor(cp949("이름 (Name) > "))) << port.got();
    port.send(cp949(name) + "\r");
    ASSERT_TRUE(port.waitFor(cp949("선택 (1,2,3,K,Q) > ")));
  }
  zlink::test::TempDir dir_;
  std::string data_, link_;
  std::unique_ptr<HostProcess> host_;
  std::unique_ptr<CliProcess> modem_;
};

TEST_F(ModemInterop, CommandsOnThePort) {
  SerialPort port(link_);
  ASSERT_GE(port.fd(), 0);
  const std::vector<std::pair<std::string, std::string>> exchanges = {
      {"AT\r", "AT\r\r\nOK\r\n"},
      {"ATZ\r", "ATZ\r\r\nOK\r\n"},
      {"ATE0\r", "ATE0\r\r\nOK\r\n"},
      {"ATS7=45 M1 L1 X4\r", "\r\nOK\r\n"},
      {"ATS7?\r", "\r\n045\r\n\r\nOK\r\n"},
      {"ATY9Q\r", "\r\nOK\r\n"},
      {"AT%Z\r", "\r\nOK\r\n"},
      {"ATK\r", "\r\nERROR\r\n"},
      {"ATH\r", "\r\nOK\r\n"},
  };
  for (const auto& [typed, answer] : exchanges) {
    port.send(typed);
    EXPECT_TRUE(port.waitFor(answer)) << typed << " got " << port.got();
  }
}

TEST_F(ModemInterop, ACallCarriesBytesBothWaysAndEndsWithEscapeAndHangUp) {
  SerialPort port(link_);
  callHost(port, "모뎀");
  port.send("3\r");
  ASSERT_TRUE(port.waitFor(cp949("/q 나가기")));
  // Someone on telnet meets the modem user in the chat room.
  TelnetUser other(host_->port(), 6);
  ASSERT_TRUE(other.waitFor("이름 (Name) > "));
  other.line("텔넷");
  ASSERT_TRUE(other.waitFor("(1,2,3,K,Q) > "));
  other.line("3");
  ASSERT_TRUE(other.waitFor("(here): 모뎀, 텔넷")) << other.text();
  port.send(cp949("모뎀에서 인사") + "\r");
  EXPECT_TRUE(other.waitFor("[모뎀] 모뎀에서 인사")) << other.text();
  other.line("텔넷에서 답장");
  EXPECT_TRUE(port.waitFor(cp949("[텔넷] 텔넷에서 답장")));

  port.quiet(1.2);
  port.send("+++");
  EXPECT_TRUE(port.waitFor("\r\nOK\r\n", 5)) << modem_->log();
  port.send("ATH\r");
  EXPECT_TRUE(port.waitFor("\r\nNO CARRIER\r\n")) << modem_->log();
  EXPECT_TRUE(other.waitFor("* 모뎀 님이 나갔습니다 (left)")) << other.text();
  ASSERT_TRUE(host_->waitForLogLines(1));
  EXPECT_NE(host_->log().find("user=\"모뎀\" terminal=VT100"), std::string::npos) << host_->log();
  port.send("AT\r");
  EXPECT_TRUE(port.waitFor("\r\nOK\r\n"));
}

TEST_F(ModemInterop, DownloadOverTheModemArrivesIdenticalInRz) {
  SerialPort port(link_);
  callHost(port, "받기");
  port.send("2\r");
  ASSERT_TRUE(port.waitFor(cp949("(U,Q) > ")));
  port.send("1\r");
  ASSERT_TRUE(port.waitFor("rz\r"));
  zlink::test::TempDir into;
  zlink::test::Child rz({"rz", "-q", "-y"}, into.str(), port.fd());
  EXPECT_EQ(rz.wait(60), 0);
  EXPECT_EQ(readFile((into.path() / "bytes.bin").string()), readFile(data_ + "/files/bytes.bin"));
  EXPECT_TRUE(port.waitFor(cp949("보냈습니다 (sent): bytes.bin")));
}

TEST_F(ModemInterop, TheHostClosingTheLineSpeedZeroAndClosingThePortEndCalls) {
  {
    SerialPort port(link_);
    callHost(port, "끝1");
    port.send("q\r");  // the host says goodbye and closes
    EXPECT_TRUE(port.waitFor("\r\nNO CARRIER\r\n")) << modem_->log();
    // Speed 0, as a program dropping DTR sets it.
    callHost(port, "끝2");
    termios t{};
    ASSERT_EQ(::tcgetattr(port.fd(), &t), 0);
    ::cfsetospeed(&t, B0);
    ASSERT_EQ(::tcsetattr(port.fd(), TCSANOW, &t), 0);
    EXPECT_TRUE(port.waitFor("\r\nNO CARRIER\r\n")) << modem_->log();
    ::cfsetospeed(&t, B38400);
    ::tcsetattr(port.fd(), TCSANOW, &t);
    callHost(port, "끝3");
  }  // the port closes in the middle of the call
  ASSERT_TRUE(host_->waitForLogLines(3)) << modem_->log();
  EXPECT_NE(modem_->log().find("the port was closed"), std::string::npos) << modem_->log();
  // A refused call is BUSY; the port opens again afterwards.
  SerialPort again(link_);
  ASSERT_GE(again.fd(), 0);
  again.quiet(0.5);
  EXPECT_EQ(again.got(), "") << "left over from the last call";
  again.send("ATDT127.0.0.1:1\r");
  EXPECT_TRUE(again.waitFor("\r\nBUSY\r\n")) << modem_->log();
  again.send("ATDT 999\r");  // not in the table, no --host
  EXPECT_TRUE(again.waitFor("\r\nNO ANSWER\r\n")) << modem_->log();
}

// More than a pseudo-terminal holds, while the program does not read for a
// while: every line still arrives, in order.
TEST_F(ModemInterop, ASlowReaderLosesNothing) {
  SerialPort port(link_);
  callHost(port, "느림");
  port.send("3\r");
  ASSERT_TRUE(port.waitFor(cp949("/q 나가기")));
  TelnetUser other(host_->port(), 6);
  ASSERT_TRUE(other.waitFor("이름 (Name) > "));
  other.line("빠름");
  ASSERT_TRUE(other.waitFor("(1,2,3,K,Q) > "));
  other.line("3");
  ASSERT_TRUE(other.waitFor("(here): 느림, 빠름")) << other.text();
  const std::string filler(400, 'x');
  for (int i = 0; i < 80; ++i) other.line("줄 " + std::to_string(100 + i) + " " + filler);
  std::this_thread::sleep_for(std::chrono::milliseconds(2500));  // the program is busy elsewhere
  for (int i = 0; i < 80; ++i)
    ASSERT_TRUE(port.waitFor(cp949("[빠름] 줄 " + std::to_string(100 + i) + " " + filler + "\x1b[0m\r\n"))) << i;
}

}  // namespace
}  // namespace kesta::host::test
