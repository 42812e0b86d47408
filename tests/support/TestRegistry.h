#pragma once
// Several Qt Test classes share one executable per area: each class registers itself here and
// the shared main runs them all.
#include <QCoreApplication>
#include <QObject>

#include <functional>
#include <memory>
#include <vector>

namespace terravel::test {

using TestFactory = std::function<std::unique_ptr<QObject>()>;
std::vector<TestFactory>& Registry();

// The application object of the test executable: a QCoreApplication unless an area that needs
// fonts or windows installs its own with TERRAVEL_TEST_APPLICATION.
using ApplicationFactory = std::function<std::unique_ptr<QCoreApplication>(int& argc, char** argv)>;
ApplicationFactory& Application();

struct Registration {
  explicit Registration(TestFactory factory) { Registry().push_back(std::move(factory)); }
};

}  // namespace terravel::test

// Put after the class definition in its .cpp file.
#define TERRAVEL_TEST(Class) \
  static const ::terravel::test::Registration Class##Registration([] { return std::make_unique<Class>(); });

// Put in one .cpp file of an area whose tests need a QGuiApplication or a QApplication.
#define TERRAVEL_TEST_APPLICATION(Type)                                             \
  static const bool terravelTestApplication = [] {                                  \
    ::terravel::test::Application() = [](int& argc, char** argv) {                  \
      return std::unique_ptr<QCoreApplication>(std::make_unique<Type>(argc, argv)); \
    };                                                                              \
    return true;                                                                    \
  }();
