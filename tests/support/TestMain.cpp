#include <QCoreApplication>
#include <QTest>

#include <cstdlib>
#include <string>

#include "model/text/NumberText.h"
#include "support/TestRegistry.h"

namespace terravel::test {
std::vector<TestFactory>& Registry() {
  static std::vector<TestFactory> registry;
  return registry;
}
ApplicationFactory& Application() {
  static ApplicationFactory factory;
  return factory;
}
}  // namespace terravel::test

int main(int argc, char** argv) {
  const auto& makeApplication = terravel::test::Application();
  const std::unique_ptr<QCoreApplication> app =
      makeApplication ? makeApplication(argc, argv) : std::make_unique<QCoreApplication>(argc, argv);
  // Every test starts from the point; the ones about separators set their own.
  terravel::SetDecimalSeparator('.');
  // TERRAVEL_TEST_CLASSES=TestA,TestB runs only those classes (the tests that need a real display).
  const char* only = std::getenv("TERRAVEL_TEST_CLASSES");
  const std::string wanted = only != nullptr ? "," + std::string(only) + "," : std::string();
  int failures = 0;
  for (const auto& factory : terravel::test::Registry()) {
    auto test = factory();
    const std::string name = test->metaObject()->className();
    if (!wanted.empty() && wanted.find("," + name + ",") == std::string::npos) continue;
    failures += QTest::qExec(test.get(), argc, argv);
  }
  return failures == 0 ? 0 : 1;
}
