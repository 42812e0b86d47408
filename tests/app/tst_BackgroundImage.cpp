// The background image window as the user meets it: what OK refuses, a picture that cannot be
// decoded, where an accepted picture lands, and clearing it from the Tools menu.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

#include "AppTestSupport.h"
#include "app/background/BackgroundImageForm.h"
#include "app/background/PicturePreview.h"
#include "render/RenderTestSupport.h"
#include "support/TempDir.h"
#include "support/TestRegistry.h"

using namespace terravel;
using namespace terravel::test;

namespace {

constexpr QRgb kGreen = 0xFF20A040;

QString SavePicture(const TTempFolder& folder, const std::string& name, int width, int height) {
  QImage picture(width, height, QImage::Format_RGB32);
  picture.fill(kGreen);
  const QString path = QString::fromStdString(folder.Path(name));
  if (!picture.save(path)) qFatal("cannot write the test picture");
  return path;
}

void Click(QWidget* widget) {
  QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

// Fills the window's fields; a null text leaves that field as it is.
void Fill(TBackgroundImageForm& form, const QString& file, const QString& x, const QString& y,
          const QString& w, const QString& h) {
  const std::pair<QLineEdit*, QString> fields[] = {{form.FileEdit(), file},
                                                   {form.OriginXEdit(), x},
                                                   {form.OriginYEdit(), y},
                                                   {form.ScaleWEdit(), w},
                                                   {form.ScaleHEdit(), h}};
  for (const auto& [edit, text] : fields)
    if (!text.isNull()) edit->setText(text);
}

}  // namespace

class TestBackgroundImage : public QObject {
  Q_OBJECT
 private slots:
  void okRefuses_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("x");
    QTest::addColumn<QString>("w");
    QTest::addColumn<QString>("h");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");  // the field given the focus, empty for none
    const QString noImage = "No valid background image has been specified.";
    const QString origin = "The origin value is invalid. It must be a decimal value!";
    const QString scale = "The scale valus is invalid. It must be a non-zero decimal value!";
    QTest::newRow("missing file") << "missing.png"
                                  << "0"
                                  << "1"
                                  << "1" << noImage << "";
    QTest::newRow("origin not a number") << ""
                                         << "1x"
                                         << "1"
                                         << "1" << origin << "OriginXEdit";
    QTest::newRow("scale zero") << ""
                                << "0"
                                << "0.0"
                                << "1" << scale << "ScaleWEdit";
    QTest::newRow("scale too small for single precision") << ""
                                                          << "0"
                                                          << "1e-50"
                                                          << "1" << scale << "ScaleWEdit";
    QTest::newRow("height empty") << ""
                                  << "0"
                                  << "1"
                                  << "" << scale << "ScaleHEdit";
    QTest::newRow("origin too large") << ""
                                      << "1e39"
                                      << "1"
                                      << "1" << origin << "OriginXEdit";
  }
  void okRefuses() {
    QFETCH(QString, file);
    QFETCH(QString, x);
    QFETCH(QString, w);
    QFETCH(QString, h);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    TTempFolder folder;
    TDialogAnswers dialogs;
    TEditor editor;
    TViewportRenderer renderer(editor);
    TBackgroundImageForm form(renderer);
    form.show();
    Fill(form, file.isEmpty() ? file : QString::fromStdString(folder.Path(file.toStdString())), x, "2", w, h);
    Click(form.OkButton());
    QCOMPARE(dialogs.Messages.size(), size_t(1));
    QCOMPARE(dialogs.Messages[0].Caption, QStringLiteral("Information"));
    QCOMPARE(dialogs.Messages[0].Icon, QMessageBox::Critical);
    QCOMPARE(dialogs.Messages[0].Text, message);
    QVERIFY(form.isVisible());
    if (!focus.isEmpty()) {
      auto* edit = qobject_cast<QLineEdit*>(form.focusWidget());
      QVERIFY(edit != nullptr);
      QCOMPARE(edit->objectName(), focus);
      QCOMPARE(edit->selectedText(), edit->text());
    }
    QCOMPARE(form.Values().ScaleW, 1.f);
    QCOMPARE(renderer.Background().OriginY(), 0.f);
  }

  void pictureLandsOnItsWorldRectangle() {
    TTempFolder folder;
    TDialogAnswers dialogs;
    TEditor editor;
    PlainView(editor);  // world (x, y) is pixel (200 + x, 150 + y)
    TViewportRenderer renderer(editor);
    TBackgroundImageForm form(renderer);
    form.show();
    Fill(form, SavePicture(folder, "map.png", 200, 100), "0", "0", "1", "1");
    // The preview shows it at its own size, centred; a wider one would be stretched over the area.
    const QRect shown = form.Preview()->PictureRect();
    QCOMPARE(shown.size(), QSize(200, 100));
    QVERIFY(qAbs(shown.center().x() - form.Preview()->contentsRect().center().x()) <= 1);
    form.FileEdit()->setText(SavePicture(folder, "wide.png", 400, 100));
    QCOMPARE(form.Preview()->PictureRect(), form.Preview()->contentsRect());
    form.FileEdit()->setText(QString::fromStdString(folder.Path("map.png")));
    Click(form.OkButton());
    QVERIFY(dialogs.Messages.empty());
    QVERIFY(!form.isVisible());
    renderer.RenderScene();
    const QList<QPoint> picture = PixelsOtherThan(renderer.BackBuffer(), 0xFFC0C0C0);
    QCOMPARE(QPolygon(picture).boundingRect(), QRect(QPoint(100, 100), QPoint(299, 199)));
    QCOMPARE(Pixel(renderer.BackBuffer(), 100, 100), kGreen);
  }

  void undecodablePictureKeepsTheLastOne() {
    TTempFolder folder;
    TDialogAnswers dialogs;
    TEditor editor;
    TViewportRenderer renderer(editor);
    TBackgroundImageForm form(renderer);
    form.show();
    Fill(form, SavePicture(folder, "good.png", 20, 10), "5", "6", "2", "3");
    Click(form.OkButton());
    const QString bad = QString::fromStdString(folder.Path("scan.jpg"));
    WriteWholeFile(bad.toStdString(), "no picture in here\n");
    form.show();
    QCOMPARE(form.OriginXEdit()->text(), QStringLiteral("5.000000"));
    Fill(form, bad, "7", "8", "1", "1");
    const QImage preview = form.Preview()->Picture();
    QCOMPARE(preview.size(), QSize(20, 10));  // the preview keeps the last picture it could read
    Click(form.OkButton());
    QCOMPARE(dialogs.Messages.size(), size_t(1));
    QCOMPARE(dialogs.Messages[0].Caption, QStringLiteral("Error"));
    QVERIFY(dialogs.Messages[0].Text.contains(bad));
    QVERIFY(form.isVisible());
    QVERIFY(renderer.HasBackgroundImage());
    QCOMPARE(renderer.Background().OriginX(), 5.f);
    QCOMPARE(renderer.Background().ScaleH(), 3.f);
    QCOMPARE(form.Values().OriginX, 5.f);
  }

  void clearThenReopenLoadsTheSameFile() {
    TTempFolder folder;
    TDialogAnswers dialogs;
    auto windows = StartWindows();
    TMainForm& main = windows->Main();
    QAction* clear = main.Menus().Tools_ClearBackgroundImage;
    QVERIFY(!clear->isEnabled());
    const QString path = SavePicture(folder, "map.bmp", 8, 8);
    WhenModalShown(this, [&](QWidget*) {
      auto* form = windows->Tools().BackgroundImage;
      Fill(*form, path, "-3,5e1", QString(), "-2", QString());  // a comma is no decimal point here
      Click(form->OkButton());
      Fill(*form, QString(), "-35", QString(), QString(), QString());
      Click(form->OkButton());
    });
    main.Menus().Tools_BackgroundImage->trigger();
    QCOMPARE(dialogs.Messages.size(), size_t(1));
    QVERIFY(main.Renderer().HasBackgroundImage());
    QCOMPARE(main.Renderer().Background().ScaleW(), -2.f);
    QVERIFY(clear->isEnabled());
    main.Menus().Project_New_Blank->trigger();  // the picture belongs to the run, not the project
    QVERIFY(main.Renderer().HasBackgroundImage());

    clear->trigger();
    QVERIFY(!main.Renderer().HasBackgroundImage());
    QVERIFY(!clear->isEnabled());
    // OK with the values shown loads the same file again.
    QStringList shown;
    WhenModalShown(this, [&](QWidget*) {
      auto* form = windows->Tools().BackgroundImage;
      shown << form->FileEdit()->text() << form->OriginXEdit()->text();
      Click(form->OkButton());
    });
    main.Menus().Tools_BackgroundImage->trigger();
    QCOMPARE(shown, (QStringList{path, "-35.000000"}));
    QVERIFY(main.Renderer().HasBackgroundImage());
    QCOMPARE(main.Renderer().Background().OriginX(), -35.f);
    QVERIFY(clear->isEnabled());
  }

  void browseOffersWhatQtReads() {
    QCOMPARE(BackgroundImageFilter({"png", "bmp"}),
             QStringLiteral("All supported files (*.png;*.bmp)|*.png;*.bmp|PNG files (*.png)|*.png|"
                            "Bitmaps (*.bmp)|*.bmp|All files (*.*)|*.*"));
    QVERIFY(BackgroundImageFilter({"jpeg", "jpg"}).startsWith("All supported files (*.jpg;*.jpeg)|"));
  }
};

TERRAVEL_TEST(TestBackgroundImage)
#include "tst_BackgroundImage.moc"
