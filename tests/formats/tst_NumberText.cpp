// Number texts: the general 5-digit format, fixed notation, hexadecimal, and typed numbers.
#include <QTest>

#include "model/text/NumberText.h"
#include "support/TestRegistry.h"

using namespace terravel;

class TestNumberText : public QObject {
  Q_OBJECT
 private slots:
  void cleanup() { SetDecimalSeparator('.'); }

  void generalFormat_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("point");
    QTest::addColumn<QString>("comma");
    QTest::newRow("zero") << 0.0 << "0" << "0";
    QTest::newRow("whole") << 128.0 << "128" << "128";
    QTest::newRow("fraction") << -64.5 << "-64.5" << "-64,5";
    QTest::newRow("five digits") << 12345.0 << "12345" << "12345";
    QTest::newRow("rounded") << 1.234567 << "1.2346" << "1,2346";
    QTest::newRow("six digits") << 123456.0 << "1.2346E5" << "1,2346E5";
    QTest::newRow("rounds up to six") << 99999.7 << "1E5" << "1E5";
    QTest::newRow("smallest fixed") << 0.0001 << "0.0001" << "0,0001";
    QTest::newRow("tiny") << 0.000001 << "1E-6" << "1E-6";
    QTest::newRow("float tenth") << double(0.1f) << "0.1" << "0,1";
  }
  void generalFormat() {
    QFETCH(double, value);
    QFETCH(QString, point);
    QFETCH(QString, comma);
    QCOMPARE(QString::fromStdString(FormatGeneral(value)), point);
    SetDecimalSeparator(',');
    QCOMPARE(QString::fromStdString(FormatGeneral(value)), comma);
  }

  void fixedAndHex() {
    QCOMPARE(FormatFixed(double(0.1f), 12, '.'), std::string("0.100000001490"));
    QCOMPARE(FormatFixed(-0.0, 12, '.'), std::string("0.000000000000"));
    QCOMPARE(FormatFixed(12.345f, 2, ','), std::string("12,35"));
    QCOMPARE(FormatHex(0xFFFFFFFFu, 6), std::string("FFFFFFFF"));
    QCOMPARE(FormatHex(255, 6), std::string("0000FF"));
    QCOMPARE(SignPrefix(0), std::string("+"));
    QCOMPARE(SignPrefix(-1), std::string(""));
  }

  void parsing_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");
    QTest::newRow("plain") << "128" << "." << true << 128.0;
    QTest::newRow("spaces and sign") << "  -1.5 " << "." << true << -1.5;
    QTest::newRow("plus") << "+2" << "." << true << 2.0;
    QTest::newRow("exponent") << "1.5E3" << "." << true << 1500.0;
    QTest::newRow("comma locale") << "1,5" << "," << true << 1.5;
    QTest::newRow("point in comma locale") << "1.5" << "," << false << 0.0;
    QTest::newRow("empty") << "" << "." << false << 0.0;
    QTest::newRow("letters") << "abc" << "." << false << 0.0;
    QTest::newRow("trailing garbage") << "12x" << "." << false << 0.0;
    QTest::newRow("tab is no space") << "\t1" << "." << false << 0.0;
    QTest::newRow("overflow") << "1e999" << "." << false << 0.0;
    QTest::newRow("lone sign") << "-" << "." << false << 0.0;
  }
  void parsing() {
    QFETCH(QString, text);
    QFETCH(QString, separator);
    QFETCH(bool, ok);
    QFETCH(double, value);
    double parsed = -999;
    QCOMPARE(TryParseNumber(text.toStdString(), parsed, separator.at(0).toLatin1()), ok);
    if (ok) QCOMPARE(parsed, value);
  }
};

TERRAVEL_TEST(TestNumberText)
#include "tst_NumberText.moc"
