// The lesson texts as drawn: on every page, and after every button that changes a page's texts,
// neighbouring lines of a label keep at least one clear pixel row between their strokes.
#include <QPainter>
#include <QTest>

#include "forms/fonts.h"
#include "tests/support/harness.h"
#include "tests/support/main.h"

using testing::Harness;

namespace {

// Ink that drawn in black on white would be darker than 110 of 255.
constexpr int kDarkAlpha = 255 - 110;

bool RowClear(const QImage& ink, int y) {
  const auto* row = reinterpret_cast<const QRgb*>(ink.constScanLine(y));
  for (int x = 0; x < ink.width(); ++x)
    if (qAlpha(row[x]) > kDarkAlpha) return false;
  return true;
}

// The first pair of neighbouring lines whose ink runs together, as "line n", or nothing.
QString TouchingLines(forms::Label& label, qreal pitch) {
  QImage ink(label.size(), QImage::Format_ARGB32_Premultiplied);
  ink.fill(Qt::transparent);
  label.render(&ink, QPoint(), QRegion(), QWidget::RenderFlags());  // the characters alone
  const int lines = qRound(label.CaptionHeight() / pitch);
  for (int n = 1; n < lines; ++n) {
    // From the middle of one line to the middle of the next.
    const int from = qFloor((n - 0.5) * pitch),
              to = std::min(qCeil((n + 0.5) * pitch), ink.height());
    bool clear = false;
    for (int y = from; y < to && !clear; ++y) clear = RowClear(ink, y);
    if (!clear && from < ink.height()) return QStringLiteral("lines %1 and %2").arg(n).arg(n + 1);
  }
  return {};
}

// Checks every multi-line label of the current page; returns how many it checked.
int CheckLabels(Harness& h, const QString& state) {
  int checked = 0;
  const auto& described = h.Page()->Description().controls;
  for (std::size_t i = 0; i < described.size(); ++i) {
    auto* label = dynamic_cast<forms::Label*>(h.Page()->Controls()[i]);
    if (!label || !label->isVisible() || !described[i].font) continue;
    const qreal pitch = forms::MakeTextStyle(*described[i].font).pitch;
    if (label->CaptionHeight() < 2 * pitch) continue;
    const QString touching = TouchingLines(*label, pitch);
    [&] {
      QVERIFY2(touching.isEmpty(), qPrintable(state + " " + label->Name() + ": " + touching));
    }();
    ++checked;
  }
  return checked;
}

}  // namespace

class LineGapTest : public QObject {
  Q_OBJECT
 private slots:
  void linesOfEveryLabelKeepAClearRow() {
    int checked = 0;
    for (const QString& page : coursemap::Pages()) {
      Harness h;
      h.GoTo(page);
      checked += CheckLabels(h, page);
      for (const QString& button : coursemap::OtherButtons(page)) {
        const auto need = coursemap::ButtonNeedOf(QStringLiteral("7optical.exe"));
        if (need && need->page == page && need->button == button) continue;  // starts a program
        h.Click(button);
        if (h.PageName() != page) break;
        checked += CheckLabels(h, page + " after " + button);
      }
      if (QTest::currentTestFailed()) return;
    }
    QVERIFY(checked > 10);
  }
};

LUMORA_TEST_MAIN(LineGapTest)
#include "test_linegap.moc"
