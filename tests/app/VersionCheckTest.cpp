// The version check against a real HTTP server on 127.0.0.1 (the address
// comes from VONQ_VERSION_PAGE in place of the maker's page): when it asks,
// what it stores, and how it reads the reply.

#include "app/win/VersionCheck.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "app/win/AppBase.h"
#include "lang/Localizer.h"
#include "map/IMappedData.h"
#include "os/Http.h"
#include "xml/Node.h"

namespace {

using s::app::win::VersionCheck;
using Result = VersionCheck::Result;

constexpr const char16_t* kGroup = u"MainWindow\\Version";

// The reply server (tests/support/http/reply_server.py) as a child process.
class ReplyServer {
 public:
  ReplyServer(const std::string& folder, bool silent)
      : reply_(folder + "/reply"), log_(folder + "/requests") {
    std::remove(log_.c_str());
    setReply("");
    int out[2];
    if (::pipe(out) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(out[1], 1);
      ::execlp("python3", "python3", VONQ_REPLY_SERVER, reply_.c_str(), log_.c_str(),
               silent ? "--silent" : nullptr, nullptr);
      ::_exit(127);
    }
    ::close(out[1]);
    char line[32] = {0};
    const ssize_t got = ::read(out[0], line, sizeof line - 1);
    ::close(out[0]);
    if (got > 0) port_ = std::stoi(line);
  }
  ~ReplyServer() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  int port() const { return port_; }
  void setReply(const std::string& text) { std::ofstream(reply_, std::ios::binary) << text; }
  int requests() const {
    std::ifstream in(log_);
    int n = 0;
    for (std::string line; std::getline(in, line);) ++n;
    return n;
  }

 private:
  std::string reply_, log_;
  pid_t pid_ = -1;
  int port_ = 0;
};

// The platform's client, or one that reports the system offline.
class OfflineHttp : public s::os::Http {
 public:
  bool connected() override { return false; }
  bool download(const std::u16string&, const std::u16string&, const std::atomic<bool>&) override {
    ++downloads;
    return false;
  }
  int downloads = 0;
};

class VersionCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app_ = s::app::win::AppBase::create();
    ASSERT_TRUE(app_->init({}));
    table_ = app_->getLanguageTable();
    table_->selectLanguage(u"English");
    folder_ = ::testing::TempDir();
  }
  void TearDown() override {
    ::unsetenv("VONQ_VERSION_PAGE");
    app_->release();
  }
  void serve(ReplyServer& server) {
    ASSERT_GT(server.port(), 0) << "the reply server did not start";
    const std::string page = "http://127.0.0.1:" + std::to_string(server.port()) + "/check/";
    ::setenv("VONQ_VERSION_PAGE", page.c_str(), 1);
  }
  s::map::IMappedData* settings() { return app_->getSettings(); }
  std::int64_t update() { return settings()->getValue(kGroup, u"Update", std::int64_t{0}); }
  void setUpdate(std::int64_t hours) { settings()->setValue(kGroup, u"Update", hours); }
  Result check(s::lang::Localizer* table = nullptr) {
    VersionCheck check(settings(), kGroup, table != nullptr ? table : table_);
    return check.run(
        [this](const std::u16string& title, const std::u16string&) {
          asked_.push_back(title);
          return true;
        },
        [this](const std::u16string& address) { opened_.push_back(address); });
  }

  s::app::win::AppBase* app_ = nullptr;
  s::lang::Localizer* table_ = nullptr;
  std::string folder_;
  std::vector<std::u16string> asked_, opened_;
};

TEST_F(VersionCheckTest, FirstStartOnlyStoresTheTimeAndThirtyDaysArePassedInWholeHours) {
  ReplyServer server(folder_, false);
  serve(server);
  settings()->deleteValue(kGroup, u"Update");
  EXPECT_EQ(check(), Result::kFirstStart);
  EXPECT_EQ(update(), VersionCheck::hoursNow());
  EXPECT_EQ(server.requests(), 0) << "the first start asks nothing";

  setUpdate(VersionCheck::hoursNow() - 719);
  EXPECT_EQ(check(), Result::kNotDue);
  EXPECT_EQ(update(), VersionCheck::hoursNow() - 719) << "nothing stored when not due";
  EXPECT_EQ(server.requests(), 0);

  server.setReply("1.01 is out");  // no star: not an answer about a newer version
  setUpdate(VersionCheck::hoursNow() - 720);
  EXPECT_EQ(check(), Result::kNothingNewer);
  EXPECT_EQ(server.requests(), 1);
  EXPECT_EQ(update(), VersionCheck::hoursNow()) << "renewed after a request, star or not";
  EXPECT_TRUE(asked_.empty());
}

TEST_F(VersionCheckTest, OnlyAStarredReplyWithoutOurVersionOffersTheNewOne) {
  ReplyServer server(folder_, false);
  serve(server);
  struct Case {
    const char* reply;
    Result result;
  };
  for (const Case& c : {Case{"*1.00", Result::kNothingNewer}, Case{"*1.01", Result::kNewer},
                        Case{"1.01", Result::kNothingNewer}, Case{"*1.0", Result::kNothingNewer},
                        Case{"*1.00 and later 1.01", Result::kNothingNewer}}) {
    asked_.clear();
    server.setReply(c.reply);
    setUpdate(VersionCheck::hoursNow() - 800);
    EXPECT_EQ(check(), c.result) << c.reply;
    EXPECT_EQ(asked_.size(), c.result == Result::kNewer ? 1u : 0u) << c.reply;
  }
  ASSERT_EQ(opened_.size(), 1u) << "Yes to the one offer opens the product page";
  EXPECT_EQ(opened_[0], std::u16string(table_->text(500003)));
}

TEST_F(VersionCheckTest, OfflineOrWithoutUpdateTextNothingChanges) {
  ReplyServer server(folder_, false);
  serve(server);
  const std::int64_t due = VersionCheck::hoursNow() - 1000;
  OfflineHttp offline;
  s::os::Http* previous = s::os::setHttp(&offline);
  setUpdate(due);
  EXPECT_EQ(check(), Result::kOffline);
  s::os::setHttp(previous == &s::os::platformHttp() ? nullptr : previous);
  EXPECT_EQ(offline.downloads, 0);
  EXPECT_EQ(update(), due) << "offline: tried again at the next start";

  // A language whose update text is empty never checks.
  s::xml::Node* root = s::xml::Node::create();
  root->parse(
      u"<lang><languages><entry tagName=\"eng\" engName=\"English\" trueName=\"English\"></entry>"
      u"<entry tagName=\"deu\" engName=\"German\" trueName=\"Deutsch\"></entry></languages>"
      u"<entries><entry id=\"400200\"><eng>Check for Updates</eng><deu></deu></entry>"
      u"</entries></lang>");
  s::lang::Localizer* german = s::lang::Localizer::create();
  german->load(*root);
  root->release();
  german->selectLanguage(u"German");
  EXPECT_EQ(check(german), Result::kNoUpdateText);
  german->release();
  EXPECT_EQ(update(), due);
  EXPECT_EQ(server.requests(), 0);
}

TEST_F(VersionCheckTest, AServerThatNeverAnswersEndsTheCheckWithinItsBound) {
  ReplyServer server(folder_, true);
  serve(server);
  setUpdate(VersionCheck::hoursNow() - 720);
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(check(), Result::kNothingNewer);
  const auto took = std::chrono::steady_clock::now() - started;
  EXPECT_GE(server.requests(), 1) << "the request was made";
  // The bound is 8 s; the margin is for a loaded machine, not for speed.
  EXPECT_LT(took, std::chrono::seconds(15));
  EXPECT_EQ(update(), VersionCheck::hoursNow());
}

}  // namespace
