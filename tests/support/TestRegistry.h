#pragma once
// Several Qt Test classes share one executable per area: each class registers itself here and
// the shared main runs them all.
#include <QObject>

#include <functional>
#include <memory>
#include <vector>

namespace terravel::test {

using TestFactory = std::function<std::unique_ptr<QObject>()>;
std::vector<TestFactory>& Registry();

struct Registration {
  explicit Registration(TestFactory factory) { Registry().push_back(std::move(factory)); }
};

}  // namespace terravel::test

// Put after the class definition in its .cpp file.
#define TERRAVEL_TEST(Class) \
  static const ::terravel::test::Registration Class##Registration([] { return std::make_unique<Class>(); });
