// The allocation-free fixed notation of the exchange writers must say what FormatFixed says.
#include <QTest>

#include <bit>
#include <cfloat>
#include <random>

#include "model/formats/FixedNumber.h"
#include "model/text/NumberText.h"
#include "support/TestRegistry.h"

using namespace terravel;

namespace {

std::string Written(float value, int decimals, char separator) {
  char text[kFixedTextRoom];
  return std::string(text, WriteFixed(text, value, decimals, separator));
}

}  // namespace

class TestFixedNumber : public QObject {
  Q_OBJECT
 private slots:
  void agreesWithFormatFixed_data() {
    QTest::addColumn<float>("value");
    QTest::newRow("zero") << 0.0f;
    QTest::newRow("negative zero") << -0.0f;
    QTest::newRow("tenth") << 0.1f;
    QTest::newRow("half way at 12 decimals") << 0x1p-13f;
    QTest::newRow("half way at 2 decimals") << 0.125f;
    QTest::newRow("three halves way") << -0.375f;
    QTest::newRow("rounds up into the integer") << 0.999999f;
    QTest::newRow("smallest subnormal") << std::bit_cast<float>(1u);
    QTest::newRow("tiny negative") << -1e-20f;
    QTest::newRow("below 2^24") << 16777215.0f;
    QTest::newRow("2^24") << 16777216.0f;
    QTest::newRow("largest") << FLT_MAX;
    QTest::newRow("infinity") << -INFINITY;
  }
  void agreesWithFormatFixed() {
    QFETCH(float, value);
    for (int decimals = 0; decimals <= 12; ++decimals) {
      QCOMPARE(Written(value, decimals, ','), FormatFixed(value, decimals, ','));
    }
  }

  void agreesOnRandomPatterns() {
    std::mt19937 random(11);
    for (int i = 0; i < 100000; ++i) {
      const float value = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
      const int decimals = i % 2 == 0 ? 12 : 2;
      if (Written(value, decimals, '.') != FormatFixed(value, decimals, '.')) {
        QFAIL(qPrintable(QString("%1 with %2 decimals").arg(double(value), 0, 'a').arg(decimals)));
      }
    }
  }
};

TERRAVEL_TEST(TestFixedNumber)
#include "tst_FixedNumber.moc"
