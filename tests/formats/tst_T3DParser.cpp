// The Unreal text parser: map framing, markers and their letter case, key values, item lines,
// its two messages, real UnrealEd maps, and damaged or enormous input.
#include <QTest>

#include <cstring>
#include <random>

#include "T3DTestMaps.h"
#include "model/core/Errors.h"
#include "model/core/FileIO.h"
#include "model/formats/T3DParser.h"
#include "model/text/NumberText.h"
#include "support/TestRegistry.h"

using namespace terravel;
using namespace terravel::test;

namespace {

// The message of the parse error, or "ok" when the text parses.
QString ParseResult(std::string_view text) {
  TT3DMap map;
  try {
    map.Parse(text);
  } catch (const EParseError& error) {
    return QString::fromUtf8(error.what());
  }
  return "ok";
}

QStringList Texts(const std::vector<std::string_view>& lines) {
  QStringList list;
  for (std::string_view line : lines) list << QString::fromLatin1(line.data(), qsizetype(line.size()));
  return list;
}

// A map whose only brush holds one polygon with the given header line and item lines.
std::string PolygonMap(const std::string& header, const std::string& items) {
  return MapWithBody("Begin Actor Class=Brush\n Begin Brush\n  Begin PolyList\n   " + header + "\n" + items +
                     "   End Polygon\n  End PolyList\n End Brush\nEnd Actor\n");
}

const TT3DPolygon& OnlyPolygon(const TT3DMap& map) {
  const TBrush* brush = map.Actors.at(0)->AsBrush();
  if (brush == nullptr || brush->Polygons.size() != 1) throw std::runtime_error("not one brush polygon");
  return brush->Polygons[0];
}

}  // namespace

class TestT3DParser : public QObject {
  Q_OBJECT
 private slots:
  void cleanup() { SetDecimalSeparator('.'); }

  void headerTrailerAndBodySplit() {
    TT3DMap map;
    map.Parse(
        "Exported by UnrealEd\r\n\r\nbegin MAP\r\n\tBegin Actor Class=Light Name=Light0 \r\n  bHidden=True  "
        "\r\n"
        "end actor\r\nEND MAP\r\nBegin Actor Class=Brush\r\n\r\n");
    QCOMPARE(Texts(map.Header()), QStringList({"Exported by UnrealEd", ""}));
    QCOMPARE(Texts(map.Trailer()), QStringList({"Begin Actor Class=Brush", ""}));
    QCOMPARE(Texts(map.Lines()),
             QStringList({"Begin Actor Class=Light Name=Light0", "bHidden=True", "end actor"}));
    QCOMPARE(map.Actors.size(), std::size_t(1));
    QCOMPARE(Texts(map.Actors[0]->OtherLines()), QStringList({"bHidden=True"}));
  }

  // The same actor with every kind of line end; LF CR is two line ends with an empty line between.
  void lineEnds_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("result");
    const QByteArray body = "Begin Actor Class=Light\n a=1\n\n b=2\nEnd Actor\n";
    const QByteArray lf = "Begin Map\n" + body + "End Map";
    QTest::newRow("LF, no end at the end") << lf << "a=1||b=2";
    QTest::newRow("CR") << QByteArray(lf).replace('\n', '\r') << "a=1||b=2";
    QTest::newRow("CR LF") << QByteArray(lf).replace("\n", "\r\n") << "a=1||b=2";
    QTest::newRow("LF CR") << QByteArray(lf).replace("\n", "\n\r") << "|a=1|||b=2|";
    QTest::newRow("mixed")
        << QByteArray("Begin Map\rBegin Actor Class=Light\r\n a=1\n\r\n b=2\rEnd Actor\nEnd Map\r\n")
        << "a=1||b=2";
    QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF") + lf << "a=1||b=2";
    const QString utf16 = QString::fromLatin1(lf).replace("a=1", QString::fromUtf8("a=\xC3\xA9\xF0\x9F\x8C\x8B"));
    QByteArray little("\xFF\xFE"), big("\xFE\xFF");
    for (const QChar c : utf16) {
      little += char(c.unicode() & 0xFF), little += char(c.unicode() >> 8);
      big += char(c.unicode() >> 8), big += char(c.unicode() & 0xFF);
    }
    QTest::newRow("UTF-16, little-endian") << little << "a=\u00E9\U0001F30B||b=2";
    QTest::newRow("UTF-16, big-endian") << big << "a=\u00E9\U0001F30B||b=2";
    QTest::newRow("UTF-16, odd last byte") << QByteArray(little).append("\n\0x", 3) << "a=\u00E9\U0001F30B||b=2";
  }
  void lineEnds() {
    QFETCH(QByteArray, text);
    QFETCH(QString, result);
    TT3DMap map;
    try {
      map.Parse(std::string_view(text.constData(), std::size_t(text.size())));
      QStringList lines;
      for (std::string_view line : map.Actors.at(0)->OtherLines()) lines << QString::fromUtf8(line.data(), qsizetype(line.size()));
      QCOMPARE(lines.join('|'), result);
    } catch (const EParseError& error) {
      QCOMPARE(QString::fromUtf8(error.what()), result);
    }
  }

  void faults_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("message");
    const QString noBegin = "\"Begin Map\" fehlt.";
    const QString noEnd = "\"End Map\" fehlt.";
    const std::string brush = "Begin Actor Class=Brush\nBegin Brush\n";
    auto map = [](const std::string& body) { return QByteArray::fromStdString(MapWithBody(body)); };
    QTest::newRow("empty file") << QByteArray() << noBegin;
    QTest::newRow("no Begin Map") << QByteArray("Begin Actor Class=Light\r\nEnd Actor\r\nEnd Map\r\n")
                                  << noBegin;
    QTest::newRow("indented Begin Map") << QByteArray("  Begin Map\r\nEnd Map\r\n") << noBegin;
    QTest::newRow("no End Map") << QByteArray("Begin Map\r\nBegin Actor Class=Light\r\nEnd Actor\r\n")
                                << noEnd;
    QTest::newRow("End Map only before") << QByteArray("End Map\r\nBegin Map\r\n") << noEnd;
    QTest::newRow("End Map with a space") << QByteArray("Begin Map\r\nEnd Map \r\n") << noEnd;
    const std::string whole = RealLookingMap();
    QTest::newRow("truncated") << QByteArray::fromStdString(whole.substr(0, whole.size() / 2)) << noEnd;
    QTest::newRow("empty lines are skipped")
        << map("\nBegin Actor Class=Light\nEnd Actor\n \t\nBegin Actor Class=Brush\nBegin Brush\n\nBegin PolyList\n"
               "\nBegin Polygon\n\nVertex 1,2,3\n\nEnd Polygon\n\nEnd PolyList\n\nEnd Brush\nEnd Actor\n\n")
        << "ok";
    QTest::newRow("stray line between actors")
        << map("Begin Actor Class=Light\nEnd Actor\nTimeSeconds=3\n") << "Unbekannte Anweisung: \"TimeSeconds=3\"";
    QTest::newRow("stray line after a skipped block")
        << map("Begin Surface\nTEXTURE=Rock\nEnd Surface\nTEXTURE=Rock\n") << "Unbekannte Anweisung: \"TEXTURE=Rock\"";
    QTest::newRow("block never closed")
        << map("Begin Level\nBegin Surface\nEnd Surface\n") << "\"End Level\" fehlt.";
    QTest::newRow("stray End") << map("End Level\n") << "Unbekannte Anweisung: \"End Level\"";
    QTest::newRow("lower-case begin actor")
        << map("begin actor Class=Light Name=Light0\nend actor\n")
        << "Unbekannte Anweisung: \"begin actor Class=Light Name=Light0\"";
    QTest::newRow("no Begin PolyList")
        << map(brush + "Begin Polygon\nEnd Polygon\n") << "Unbekannte Anweisung: \"Begin Polygon\"";
    QTest::newRow("stray line in list")
        << map(brush + "Begin PolyList\nOrigin 1,2,3\n") << "Unbekannte Anweisung: \"Origin 1,2,3\"";
    QTest::newRow("no End Brush") << map(brush + "Begin PolyList\nEnd PolyList\nEnd Actor\n")
                                  << "Unbekannte Anweisung: \"End Actor\"";
    QTest::newRow("item without a space") << map(brush + "Begin PolyList\nBegin Polygon\n\tVertex\t1,2,3\n")
                                          << "Unbekannte Anweisung: \"Vertex\t1,2,3\"";
    // "end polygon" is an item; everything after it is taken as items until the body ends.
    QTest::newRow("lower-case end polygon")
        << map(brush + "Begin PolyList\nBegin Polygon\nend polygon\nEnd PolyList\nEnd Brush\nEnd Actor\n")
        << "\"End Polygon\" fehlt.";
    QTest::newRow("body ends in the list") << map(brush + "Begin PolyList\n") << "\"End PolyList\" fehlt.";
    QTest::newRow("endless line") << map(std::string(100000, 'x') + "\n")
                                  << "Unbekannte Anweisung: \"" + QString(200, 'x') + "...\"";
  }
  void faults() {
    QFETCH(QByteArray, text);
    QFETCH(QString, message);
    QCOMPARE(ParseResult(std::string_view(text.constData(), std::size_t(text.size()))), message);
  }

  // Later engine versions wrap the actors in a level and put surfaces and actor groups beside
  // them: those blocks are passed over, and the actors in them read as anywhere else.
  void blocksOfLaterEngineVersions() {
    TT3DMap map;
    map.Parse(MapWithBody("Begin Level NAME=PersistentLevel\n"
                          "Begin Actor Class=Brush Name=Brush1\n Begin Brush Name=Model1\n  Begin PolyList\n"
                          "   Begin Polygon Texture=Rock\n    Vertex 1,2,3\n   End Polygon\n  End PolyList\n"
                          " End Brush\nEnd Actor\n"
                          "Begin ActorGroup\n Begin Group Name=Cave\n  Actor=Brush1\n End Group\nEnd ActorGroup\n"
                          "End Level\n"
                          "Begin Surface\nTEXTURE=Rock\nNORMAL 0,0,1\nEnd Surface\n"
                          "Begin Actor Class=Light\nEnd Actor\n"));
    QCOMPARE(map.Actors.size(), std::size_t(2));
    const TBrush* brush = map.Actors[0]->AsBrush();
    QVERIFY(brush != nullptr);
    QCOMPARE(brush->BrushName, std::string("Model1"));
    QCOMPARE(brush->Polygons.at(0).Items.at(0).Values[2], 3.0);
    QCOMPARE(brush->Polygons.at(0).Items.at(0).Line, 7);
    QCOMPARE(map.Actors[1]->ActorClass, std::string("Light"));
  }

  void polygonKeys_data() {
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("texture");
    QTest::addColumn<int>("link");
    QTest::newRow("worked example") << "Begin Polygon Item=Top Texture=GenEarth.Grass Link=7"
                                    << "Top"
                                    << "GenEarth.Grass" << 7;
    QTest::newRow("none") << "Begin Polygon"
                          << ""
                          << "" << 0;
    QTest::newRow("other order") << "Begin Polygon Link=-3 Flags=8 Texture=Rock Item=Wall"
                                 << "Wall"
                                 << "Rock" << -3;
    QTest::newRow("link no number") << "Begin Polygon Link=x7"
                                    << ""
                                    << "" << 0;
    QTest::newRow("space before =") << "Begin Polygon Item =Top Texture:Rock"
                                    << ""
                                    << "Rock" << 0;
    QTest::newRow("cut to 31") << "Begin Polygon Texture=" + QString(40, 'T') << "" << QString(31, 'T') << 0;
    // The first occurrence counts, even inside another value.
    QTest::newRow("key inside a value") << "Begin Polygon Texture=ItemTex.Foo Item=Top"
                                        << "ex.Foo"
                                        << "ItemTex.Foo" << 0;
  }
  void polygonKeys() {
    QFETCH(QString, header);
    QFETCH(QString, item);
    QFETCH(QString, texture);
    QFETCH(int, link);
    TT3DMap map;
    map.Parse(PolygonMap(header.toStdString(), ""));
    const TT3DPolygon& polygon = OnlyPolygon(map);
    QCOMPARE(QString::fromStdString(polygon.Item), item);
    QCOMPARE(QString::fromStdString(polygon.Texture), texture);
    QCOMPARE(polygon.Link, link);
  }

  void actorKeys() {
    TT3DMap map;
    map.Parse(
        MapWithBody("Begin Actor Class=BRUSH Name=Brush7\n Begin Brush Name=" + std::string(40, 'n') +
                    "\n Begin PolyList\n End PolyList\n End Brush\nEnd Actor\n"
                    "Begin Actor Name=Light1\nEnd Actor\nBegin Actor Class=Brushes Name=B\nEnd Actor\n"));
    QCOMPARE(map.Actors.size(), std::size_t(3));
    const TBrush* brush = map.Actors[0]->AsBrush();
    QVERIFY(brush != nullptr);
    QCOMPARE(brush->ActorClass, std::string("BRUSH"));
    QCOMPARE(brush->ActorName, std::string("Brush7"));
    QCOMPARE(brush->BrushName, std::string(31, 'n'));
    QCOMPARE(map.Actors[1]->ActorClass, std::string());
    QCOMPARE(map.Actors[1]->ActorName, std::string("Light1"));
    QVERIFY(map.Actors[1]->AsBrush() == nullptr);
    QVERIFY(map.Actors[2]->AsBrush() == nullptr);
  }

  void itemLines_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<double>("z");
    QTest::newRow("worked example") << QByteArray("Vertex   +00128.000000,-00064.500000,+00032.000000")
                                    << "Vertex" << 128.0 << -64.5 << 32.0;
    QTest::newRow("pan") << QByteArray("Pan      U=12 V=-48") << "Pan" << 12.0 << -48.0 << 0.0;
    QTest::newRow("pan any case") << QByteArray("pAN V=3.5 U=1") << "pAN" << 1.0 << 3.5 << 0.0;
    QTest::newRow("two numbers") << QByteArray("Normal 1,2") << "Normal" << 1.0 << 2.0 << 0.0;
    QTest::newRow("four numbers") << QByteArray("Origin 1,2,3,4") << "Origin" << 1.0 << 2.0 << 3.0;
    QTest::newRow("no numbers") << QByteArray("Vertex a,1.5.1,--2") << "Vertex" << 0.0 << 0.0 << 0.0;
    QTest::newRow("spaces and exponents")
        << QByteArray("Vertex  1e2 , -2.5E-1 ,+3") << "Vertex" << 100.0 << -0.25 << 3.0;
    QTest::newRow("name cut to 15") << QByteArray("TextureCoordinateU 1,2,3") << "TextureCoordina" << 1.0
                                    << 2.0 << 3.0;
    QTest::newRow("lower-case vertex") << QByteArray("vertex 1,2,3") << "vertex" << 1.0 << 2.0 << 3.0;
    QTest::newRow("NUL in a number") << QByteArray("Vertex 1\0,2,3", 14) << "Vertex" << 0.0 << 2.0 << 3.0;
  }
  void itemLines() {
    QFETCH(QByteArray, line);
    QFETCH(QString, name);
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(double, z);
    // The file always writes ".", whatever separator the user has.
    for (char separator : {'.', ','}) {
      SetDecimalSeparator(separator);
      TT3DMap map;
      map.Parse(PolygonMap("Begin Polygon", "    " + line.toStdString() + "\n"));
      const TPolygonItem& item = OnlyPolygon(map).Items.at(0);
      QCOMPARE(QString::fromStdString(item.ItemName), name);
      QCOMPARE(item.Values[0], x);
      QCOMPARE(item.Values[1], y);
      QCOMPARE(item.Values[2], z);
    }
  }

  // Numbers of every shape read exactly as the general number reading reads them.
  void numbersAgreeWithTheGeneralReading() {
    std::mt19937 random(7);
    auto digits = [&](int count) {
      std::string text;
      for (int i = 0; i < count; ++i) text += char('0' + random() % 10);
      return text;
    };
    const char* const signs[] = {"", "+", "-"};
    std::vector<std::string> texts;
    for (int i = 0; i < 3000; ++i) {
      std::string text = signs[random() % 3] + digits(random() % 12);
      if (random() % 4 != 0) text += "." + digits(random() % 14);
      if (random() % 10 == 0) text += "e" + std::string(signs[random() % 3]) + digits(random() % 3);
      if (random() % 10 == 0) text = " " + text + "  ";
      texts.push_back(text);
    }
    texts.insert(texts.end(),
                 {"-00000.000000", "0.1", "9007199254740993", "123456789012345.6", "1e400", "."});
    std::string items;
    for (const std::string& text : texts) items += "Vertex " + text + "," + text + ",\n";
    TT3DMap map;
    map.Parse(PolygonMap("Begin Polygon", items));
    const TT3DPolygon& polygon = OnlyPolygon(map);
    for (std::size_t i = 0; i < texts.size(); ++i) {
      double expected = 0;
      if (!TryParseNumber(texts[i], expected, '.')) expected = 0;
      const double read = polygon.Items.at(i).Values[0];
      if (std::memcmp(&read, &expected, sizeof read) != 0)
        QFAIL(qPrintable(QString("%1 read as %2, not %3")
                             .arg(texts[i].c_str())
                             .arg(read, 0, 'g', 17)
                             .arg(expected, 0, 'g', 17)));
    }
  }

  void realLookingMapTree() {
    TT3DMap map;
    map.Parse(RealLookingMap());
    QCOMPARE(map.Actors.size(), std::size_t(5));
    QStringList classes;
    for (const auto& actor : map.Actors) classes << QString::fromStdString(actor->ActorClass);
    QCOMPARE(classes, QStringList({"LevelInfo", "Brush", "Brush", "Light", "Mover"}));

    const TBrush* builder = map.Actors[1]->AsBrush();
    QCOMPARE(builder->BrushName, std::string("Brush"));
    QCOMPARE(builder->Polygons.size(), std::size_t(1));
    QCOMPARE(builder->Polygons[0].Items.size(), std::size_t(8));
    QCOMPARE(Texts(builder->OtherLines()),
             QStringList({"MainScale=(SheerAxis=SHEER_ZX)", "Level=LevelInfo'MyLevel.LevelInfo0'",
                          "Brush=Model'MyLevel.Brush'", "Name=\"Brush0\""}));

    const TBrush* brush = map.Actors[2]->AsBrush();
    QCOMPARE(brush->BrushName, std::string("Model1"));
    QCOMPARE(brush->Polygons.size(), std::size_t(2));
    const TT3DPolygon& top = brush->Polygons[0];
    QCOMPARE(top.Items.size(), std::size_t(10));
    QCOMPARE(top.Items[2].ItemName, std::string("Pan"));
    QCOMPARE(top.Items[2].Values[1], 48.0);
    QCOMPARE(top.Items[9].Values[2], 0.0);
    QCOMPARE(brush->Polygons[1].Link, 1);

    // The mover's brush block is read and left out of the actor.
    QVERIFY(map.Actors[4]->AsBrush() == nullptr);
    QCOMPARE(Texts(map.Actors[4]->OtherLines()), QStringList({"KeyNum=1"}));
    QCOMPARE(map.Actors[3]->OtherLines().size(), std::size_t(2));
  }

  void realMapsParse_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("actors");
    QTest::addColumn<int>("brushes");
    QTest::addColumn<int>("polygons");
    QTest::addColumn<int>("vertices");
    QTest::newRow("checkers") << "checkers-map.t3d" << 52 << 42 << 264 << 1080;
    QTest::newRow("small") << "small-map.t3d" << 20 << 17 << 105 << 436;
    QTest::newRow("large with movers") << "large-selection.t3d" << 667 << 185 << 1258 << 4794;
  }
  void realMapsParse() {
    QFETCH(QString, file);
    QFETCH(int, actors);
    QFETCH(int, brushes);
    QFETCH(int, polygons);
    QFETCH(int, vertices);
    const QString path = RealMapPath(file);
    if (path.isEmpty()) QSKIP("the real map files are not beside the project");
    TT3DMap map;
    map.Parse(ReadFileBytes(path.toStdString()));
    int brushCount = 0, polygonCount = 0, vertexCount = 0;
    for (const auto& actor : map.Actors) {
      if (const TBrush* brush = actor->AsBrush()) {
        ++brushCount;
        polygonCount += int(brush->Polygons.size());
        for (const TT3DPolygon& polygon : brush->Polygons)
          for (const TPolygonItem& item : polygon.Items) vertexCount += item.ItemName == "Vertex";
      }
    }
    QCOMPARE(int(map.Actors.size()), actors);
    QCOMPARE(brushCount, brushes);
    QCOMPARE(polygonCount, polygons);
    QCOMPARE(vertexCount, vertices);
  }

  // Random bytes, alone or spliced into a good map, either parse or fail with a parse error.
  void garbageFailsCleanly() {
    std::mt19937 random(20240607);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string noise(1 << 20, '\0');
    for (char& c : noise) c = char(byte(random));
    QVERIFY(ParseResult(noise) != "ok");
    QVERIFY(ParseResult("Begin Map\n" + noise + "\nEnd Map\n").startsWith("Unbekannte Anweisung: \""));

    const std::string good = RealLookingMap();
    int parsed = 0;
    for (int trial = 0; trial < 300; ++trial) {
      std::string damaged = good;
      const std::size_t at = std::uniform_int_distribution<std::size_t>(0, good.size())(random);
      const std::size_t length = std::uniform_int_distribution<std::size_t>(0, 40)(random);
      damaged.replace(at, std::min(length, good.size() - at), noise.substr(trial * 64, length));
      TT3DMap map;
      try {
        map.Parse(damaged);
        ++parsed;
      } catch (const EParseError&) {
      }
    }
    QVERIFY(parsed > 0);  // damage inside values still parses
  }

  // 100 MB without a line end, and 100 MB of blank lines inside one actor.
  void hugeInputs() {
    QCOMPARE(ParseResult(std::string(100'000'000, 'x')), QString("\"Begin Map\" fehlt."));
    std::string blank = "Begin Map\nBegin Actor Class=Light\n";
    blank.append(100'000'000, '\n');
    blank += "End Map\n";
    TT3DMap map;
    map.Parse(blank);
    QCOMPARE(map.Actors.size(), std::size_t(1));
    QCOMPARE(map.Actors[0]->OtherRuns.size(), std::size_t(1));  // one span, not a view per line
  }
};

TERRAVEL_TEST(TestT3DParser)
#include "tst_T3DParser.moc"
