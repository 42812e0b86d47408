#include <QCoreApplication>
#include <QTest>

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
  int failures = 0;
  for (const auto& factory : terravel::test::Registry()) {
    auto test = factory();
    failures += QTest::qExec(test.get(), argc, argv);
  }
  return failures == 0 ? 0 : 1;
}
