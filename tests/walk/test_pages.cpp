// Every page as the pupil first sees it: texts in place and inside their boxes, pictures at
// their natural size, nothing left of the design-time placeholders.
#include <QTest>

#include "tests/support/harness.h"
#include "tests/support/main.h"

using testing::Harness;

class PagesTest : public QObject {
  Q_OBJECT
 private slots:
  void everyPageShowsAsDesigned_data() {
    QTest::addColumn<QString>("page");
    for (const QString& page : coursemap::Pages()) QTest::newRow(qPrintable(page)) << page;
  }
  void everyPageShowsAsDesigned() {
    QFETCH(QString, page);
    Harness h;
    h.GoTo(page);
    forms::Page* p = h.Page();
    QVERIFY(p->isVisible());
    QCOMPARE(h.VisiblePages(), 1);
    const QSize client(qRound(p->Description().clientWidth / 15.0),
                       qRound(p->Description().clientHeight / 15.0));
    QCOMPARE(p->size(), client);
    for (forms::Control* c : p->Controls()) {
      const QString where = page + "." + c->Name();
      if (auto* label = dynamic_cast<forms::Label*>(c)) {
        if (!label->Visible()) continue;
        // No placeholder is ever seen, and every text fits its box.
        QVERIFY2(!label->Caption().startsWith(QLatin1String("Label")), qPrintable(where));
        QVERIFY2(label->CaptionHeight() <= label->height(),
                 qPrintable(QStringLiteral("%1: %2 px of text in %3 px")
                                .arg(where)
                                .arg(label->CaptionHeight())
                                .arg(label->height())));
      }
      if (auto* image = dynamic_cast<forms::ImageBox*>(c)) {
        QVERIFY2(!image->Picture().isNull(), qPrintable(where));
        QCOMPARE(image->size(), image->Picture().size());
        QVERIFY2(QRect(QPoint(), client).contains(image->geometry()), qPrintable(where));
      }
    }
  }
};

LUMORA_TEST_MAIN(PagesTest)
#include "test_pages.moc"
