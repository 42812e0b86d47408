// The 6-byte real of the project file and the typed stream the file passes through.
#include <QTest>

#include <bit>
#include <cfloat>
#include <cmath>
#include <limits>

#include "model/core/Errors.h"
#include "model/projectfile/Real48.h"
#include "model/projectfile/StringFileStream.h"
#include "support/TestRegistry.h"

using namespace terravel;

namespace {

QByteArray Hex(const TReal48& bytes) {
  return QByteArray(reinterpret_cast<const char*>(bytes.data()), int(bytes.size())).toHex(' ');
}

TReal48 FromHex(const char* hex) {
  const QByteArray raw = QByteArray::fromHex(hex);
  TReal48 bytes{};
  for (int i = 0; i < 6; ++i) bytes[i] = static_cast<std::uint8_t>(raw[i]);
  return bytes;
}

}  // namespace

class TestReal48 : public QObject {
  Q_OBJECT
 private slots:
  void encoding_data() {
    QTest::addColumn<float>("value");
    QTest::addColumn<QByteArray>("hex");
    QTest::newRow("one") << 1.0f << QByteArray("81 00 00 00 00 00");
    QTest::newRow("minus one") << -1.0f << QByteArray("81 00 00 00 00 80");
    QTest::newRow("zero") << 0.0f << QByteArray("00 00 00 00 00 00");
    QTest::newRow("negative zero") << -0.0f << QByteArray("00 00 00 00 00 00");
    QTest::newRow("1024") << 1024.0f << QByteArray("8b 00 00 00 00 00");
    QTest::newRow("64") << 64.0f << QByteArray("87 00 00 00 00 00");
    QTest::newRow("-3") << -3.0f << QByteArray("82 00 00 00 00 c0");
    QTest::newRow("one and an ulp") << std::nextafter(1.0f, 2.0f) << QByteArray("81 00 00 01 00 00");
    QTest::newRow("2^-128, a float subnormal") << std::ldexp(1.0f, -128) << QByteArray("01 00 00 00 00 00");
    QTest::newRow("3 * 2^-128") << std::ldexp(3.0f, -128) << QByteArray("02 00 00 00 00 40");
    QTest::newRow("below 2^-128 becomes 0") << std::ldexp(1.0f, -129) << QByteArray("00 00 00 00 00 00");
    QTest::newRow("smallest float becomes 0") << -FLT_TRUE_MIN << QByteArray("00 00 00 00 00 00");
    QTest::newRow("largest below 2^127")
        << std::nextafter(std::ldexp(1.0f, 127), 0.0f) << QByteArray("ff 00 00 ff ff 7f");
    QTest::newRow("2^127 saturates") << std::ldexp(1.0f, 127) << QByteArray("ff ff ff ff ff 7f");
    QTest::newRow("-FLT_MAX saturates") << -FLT_MAX << QByteArray("ff ff ff ff ff ff");
    QTest::newRow("infinity saturates")
        << std::numeric_limits<float>::infinity() << QByteArray("ff ff ff ff ff 7f");
    QTest::newRow("NaN becomes 0") << std::numeric_limits<float>::quiet_NaN()
                                   << QByteArray("00 00 00 00 00 00");
  }
  void encoding() {
    QFETCH(float, value);
    QFETCH(QByteArray, hex);
    QCOMPARE(Hex(FloatToReal48(value)), hex);
  }

  void decodingRoundsToNearestFloat_data() {
    QTest::addColumn<QByteArray>("hex");
    QTest::addColumn<float>("value");
    QTest::newRow("zero exponent ignores the rest") << QByteArray("00 12 34 56 78 9a") << 0.0f;
    QTest::newRow("half an ulp: to even") << QByteArray("81 00 80 00 00 00") << 1.0f;
    QTest::newRow("just above half an ulp") << QByteArray("81 01 80 00 00 00") << std::nextafter(1.0f, 2.0f);
    QTest::newRow("just below half an ulp") << QByteArray("81 ff 7f 00 00 80") << -1.0f;
    QTest::newRow("largest real rounds to 2^127, still finite")
        << QByteArray("ff ff ff ff ff 7f") << std::ldexp(1.0f, 127);
    QTest::newRow("smallest real") << QByteArray("01 00 00 00 00 80") << -std::ldexp(1.0f, -128);
  }
  void decodingRoundsToNearestFloat() {
    QFETCH(QByteArray, hex);
    QFETCH(float, value);
    const float decoded = Real48ToFloat(FromHex(hex.constData()));
    QVERIFY(std::isfinite(decoded));
    QCOMPARE(std::bit_cast<std::uint32_t>(decoded), std::bit_cast<std::uint32_t>(value));
  }

  // Every float from 2^-128 up to 2^127 comes back bit for bit (sampled across all exponents).
  void representableFloatsRoundTrip() {
    int checked = 0;
    for (std::uint64_t bits = 0; bits < 0x100000000ULL; bits += 7919) {
      const float value = std::bit_cast<float>(static_cast<std::uint32_t>(bits));
      const float magnitude = std::fabs(value);
      if (!(magnitude >= std::ldexp(1.0f, -128) && magnitude < std::ldexp(1.0f, 127))) continue;
      const float back = Real48ToFloat(FloatToReal48(value));
      if (std::bit_cast<std::uint32_t>(back) != std::bit_cast<std::uint32_t>(value)) {
        QFAIL(qPrintable(QString("%1 came back as %2").arg(double(value)).arg(double(back))));
      }
      ++checked;
    }
    QVERIFY(checked > 500000);
  }
};

TERRAVEL_TEST(TestReal48)

class TestStringFileStream : public QObject {
  Q_OBJECT
 private slots:
  void typedValuesAreLittleEndian() {
    TStringFileStream out;
    out.WriteInteger(-2);
    out.WriteByte(0xAB);
    out.WriteFloat(0.5f);
    out.WriteDouble(1.0);
    out.WriteReal48(-1.0f);
    out.WriteString("ab");
    const std::string bytes = out.TakeBytes();
    QCOMPARE(QByteArray::fromStdString(bytes).toHex(' '),
             QByteArray("fe ff ff ff ab 00 00 00 3f 00 00 00 00 00 00 f0 3f 81 00 00 00 00 80 02 00 61 62"));

    TStringFileStream in(bytes);
    QCOMPARE(in.ReadInteger(), -2);
    QCOMPARE(in.ReadByte(), std::uint8_t(0xAB));
    QCOMPARE(in.ReadFloat(), 0.5f);
    QCOMPARE(in.ReadDouble(), 1.0);
    QCOMPARE(in.ReadReal48(), -1.0f);
    QCOMPARE(in.ReadString(), std::string("ab"));
    QVERIFY(in.AtEnd());
  }

  // Every typed read that runs past the end fails with the read error and never waits for more.
  void readsPastTheEndFail_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("operation");
    QTest::newRow("byte of nothing") << QByteArray() << 0;
    QTest::newRow("integer of 3 bytes") << QByteArray("\1\2\3", 3) << 1;
    QTest::newRow("real of 5 bytes") << QByteArray(5, '\x81') << 2;
    QTest::newRow("double of 7 bytes") << QByteArray(7, '\0') << 3;
    QTest::newRow("string count past the end") << QByteArray("\x05\0abcd", 6) << 4;
    QTest::newRow("string count cut") << QByteArray("\x05", 1) << 4;
    QTest::newRow("short string count above 255") << QByteArray("\x00\x01", 2) + QByteArray(256, 'x') << 5;
    QTest::newRow("float of 2 bytes") << QByteArray(2, '\0') << 6;
  }
  void readsPastTheEndFail() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, operation);
    const std::string source = bytes.toStdString();
    TStringFileStream in(source);
    try {
      switch (operation) {
        case 0:
          in.ReadByte();
          break;
        case 1:
          in.ReadInteger();
          break;
        case 2:
          in.ReadReal48();
          break;
        case 3:
          in.ReadDouble();
          break;
        case 4:
          in.ReadString();
          break;
        case 5:
          in.ReadShortString();
          break;
        default:
          in.ReadFloat();
          break;
      }
      QFAIL("no error");
    } catch (const EStreamError& error) {
      QCOMPARE(QString::fromUtf8(error.what()), QString("Stream-Read-Fehler"));
    }
  }

  void shortStrings() {
    TStringFileStream out;
    out.WriteShortString(std::string(300, 'x'));  // a short string holds no more than 255 bytes
    out.WriteShortString("Terrain");
    const std::string bytes = out.TakeBytes();
    TStringFileStream in(bytes);
    QCOMPARE(in.ReadShortString(), std::string(255, 'x'));
    QCOMPARE(in.ReadShortString(4), std::string("Terr"));
    QVERIFY(in.AtEnd());
  }

  void writesThatCannotBeDoneFail() {
    TStringFileStream out;
    QVERIFY_THROWS_EXCEPTION(EStreamError, out.WriteString(std::string(65536, 'x')));
    QVERIFY(out.Bytes().empty());
    out.WriteString(std::string(65535, 'x'));
    QCOMPARE(out.Bytes().substr(0, 2), std::string_view("\xFF\xFF"));
    QCOMPARE(out.Position(), std::size_t(65537));
    TStringFileStream in(std::string_view{});
    QVERIFY_THROWS_EXCEPTION(EStreamError, in.WriteByte(1));
    QVERIFY_THROWS_EXCEPTION(EStreamError, out.ReadByte());
  }
};

TERRAVEL_TEST(TestStringFileStream)
#include "tst_Real48.moc"
