#include "platform/Platform.h"

#include <cstdlib>

namespace platform {
namespace {

// Used until a platform is installed: asks nobody, answers every question
// in the negative and shows nothing, so logic run too early cannot crash or
// act on a question nobody saw.
class SilentPlatform final : public Platform {
 public:
  void Inform(const QString&) override {}
  Answer AskYesNo(const QString&) override { return Answer::kNo; }
  Answer AskOkCancel(const QString&) override { return Answer::kCancel; }
  Answer WarnOkCancel(const QString&) override { return Answer::kCancel; }
  bool InputBox(const QString&, const QString&, const QString&, QString*) override { return false; }
  QString OpenFileName(const QString&, const QString&) override { return QString(); }
  QString SaveFileName(const QString&, const QString&, const QString&, const QString&) override {
    return QString();
  }
  void ShowProgress(const QString&) override {}
  void SetProgress(int) override {}
  int ShowModal(WindowId) override { return 0; }
  void Terminate(int exit_code) override { std::exit(exit_code); }
};

SilentPlatform& Silent() {
  static SilentPlatform silent;
  return silent;
}

Platform*& Installed() {
  static Platform* installed = nullptr;
  return installed;
}

}  // namespace

Platform& Current() {
  Platform* installed = Installed();
  return installed != nullptr ? *installed : Silent();
}

void Install(Platform* platform) { Installed() = platform; }

ScopedPlatform::ScopedPlatform(Platform* platform) : previous_(Installed()) { Install(platform); }

ScopedPlatform::~ScopedPlatform() { Install(previous_); }

}  // namespace platform
