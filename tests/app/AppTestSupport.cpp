// The app tests run with a QApplication (offscreen in CTest) and a settings store of their own.
#include "AppTestSupport.h"

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "support/TestRegistry.h"

TERRAVEL_TEST_APPLICATION(QApplication)

namespace terravel::test {

namespace {

QString SettingsFolder() {
  static QTemporaryDir folder;
  return folder.path();
}

// Before any test touches QSettings: never the user's own store.
const bool settingsIsolated = [] {
  QStandardPaths::setTestModeEnabled(true);
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, SettingsFolder());
  return true;
}();

}  // namespace

TDialogAnswers::TDialogAnswers() : saved_(UserDialogs()) {
  UserDialogs().Message = [this](QWidget* parent, const QString& caption, const QString& text,
                                 QMessageBox::Icon icon, QMessageBox::StandardButtons buttons) {
    Messages.push_back({caption, text, icon, buttons, parent});
    if (Answers.empty()) return buttons.testFlag(QMessageBox::Ok) ? QMessageBox::Ok : QMessageBox::Cancel;
    const QMessageBox::StandardButton answer = Answers.front();
    Answers.pop_front();
    return answer;
  };
  UserDialogs().OpenProjectName = [this](QWidget*) { return OpenName; };
  UserDialogs().SaveProjectName = [this](QWidget*, const QString& current) {
    ++SaveDialogs;
    SaveDialogStart = current;
    return SaveName;
  };
  UserDialogs().ExchangeFileName = [this](QWidget*, bool forImport, const QString& filter,
                                          const QString& extension) {
    ExchangeRequests.push_back({forImport, filter, extension});
    return ExchangeName;
  };
}

TDialogAnswers::~TDialogAnswers() {
  UserDialogs() = saved_;
}

void ClearSettingsStore() {
  QSettings(QStringLiteral("Quillstone Software"), QStringLiteral("Terravel")).clear();
}

void StoreShowWelcome(bool show) {
  QSettings store(QStringLiteral("Quillstone Software"), QStringLiteral("Terravel"));
  store.setValue(QStringLiteral("ShowWelcomeDialog"), show ? 1 : 0);
}

std::unique_ptr<TAppWindows> StartWindows(const QString& argument, bool show) {
  StoreShowWelcome(false);
  auto windows = std::make_unique<TAppWindows>();
  windows->Main().SetStartupArgument(argument);
  if (show) {
    windows->Main().show();
    QTest::qWait(1);
  }
  return windows;
}

void WhenModalShown(QObject* context, std::function<void(QWidget*)> act) {
  auto* timer = new QTimer(context);
  QObject::connect(timer, &QTimer::timeout, context, [timer, act = std::move(act)] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible()) return;
    timer->stop();
    act(modal);
  });
  timer->start(5);
}

}  // namespace terravel::test
