#include "forms/controls.h"

#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <cmath>
#include <tuple>
#include <unordered_map>

#include "forms/accessibility.h"
#include "forms/caption.h"
#include "forms/colours.h"
#include "forms/failure.h"
#include "forms/fonts.h"
#include "forms/page.h"
#include "forms/platform/platform.h"

namespace forms {

namespace {

TwipRect DescribedBox(const pagedesc::ControlDescription& d) {
  return {d.left, d.top, d.width, d.height};
}

}  // namespace

// --- Control ---

Control::Control(Page& page, const pagedesc::ControlDescription& d, QWidget& widget)
    : page_(page), description_(d), name_(QUtf8StringView(d.name).toString()), widget_(widget) {
  if (d.index) index_ = *d.index;
  widget_.setObjectName(index_ ? QStringLiteral("%1(%2)").arg(name_).arg(*index_) : name_);
  SetTwips(DescribedBox(d));
  if (!d.visible) widget_.setVisible(false);
}

bool Control::Visible() const { return !widget_.isHidden(); }

void Control::SetVisible(bool visible) { widget_.setVisible(visible); }

float Control::Left() const { return twips_.left / page_.ScaleX(); }
float Control::Top() const { return twips_.top / page_.ScaleY(); }
float Control::Width() const { return twips_.width / page_.ScaleX(); }
float Control::Height() const { return twips_.height / page_.ScaleY(); }

void Control::Move(float left, float top) {
  // Positions are whole twips; a page unit is a little under one twip.
  TwipRect r = twips_;
  r.left = static_cast<int>(std::lround(left * page_.ScaleX()));
  r.top = static_cast<int>(std::lround(top * page_.ScaleY()));
  if (r.left < INT16_MIN || r.left > INT16_MAX || r.top < INT16_MIN || r.top > INT16_MAX)
    throw Failure(QStringLiteral("控制項 %1 無法移到 (%2, %3)：位置超出範圍。")
                      .arg(name_)
                      .arg(static_cast<double>(left))
                      .arg(static_cast<double>(top)));
  SetTwips(r);
  ++moves_;
}

void Control::SetTwips(const TwipRect& r) {
  twips_ = r;
  widget_.setGeometry(r.ToPixels(page_.Scale()));
}

void Control::Rescale() {
  widget_.setGeometry(twips_.ToPixels(page_.Scale()));
  Rescaled();
}

void Control::RaiseEvent(const char* event) {
  page_.Raise(name_ + QLatin1Char('_') + QLatin1String(event), index_.value_or(-1));
}

// --- Label ---

namespace {

// A caption laid out in a style and a width is laid out the same on every visit: measuring every
// character again is most of what setting a caption costs. Only the course's own texts come
// here, so the cache stays as small as they are.
const CaptionLayout& CachedLayout(const QString& text, const TextStyle& style, int width) {
  using Key = std::tuple<const TextStyle*, int, QString>;
  struct Hash {
    std::size_t operator()(const Key& k) const {
      return qHashMulti(0, std::get<0>(k), std::get<1>(k), std::get<2>(k));
    }
  };
  static std::unordered_map<Key, CaptionLayout, Hash> layouts;
  Key key{&style, width, text};
  const auto found = layouts.find(key);
  if (found != layouts.end()) return found->second;
  CaptionLayout layout = LayOutCaption(text, style, width);
  return layouts.emplace(std::move(key), std::move(layout)).first->second;
}

}  // namespace

Label::Label(Page& page, const pagedesc::ControlDescription& d)
    : QLabel(&page), Control(page, d, *this), style_(&TextStyleOf(*d.font)) {
  setFont(style_->font);
  colour_ = ResolveColour(d.colour);
  alignment_ = d.alignment == pagedesc::Alignment::Centre  ? Qt::AlignHCenter
               : d.alignment == pagedesc::Alignment::Right ? Qt::AlignRight
                                                           : Qt::AlignLeft;
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_TranslucentBackground);
  setAutoFillBackground(false);
  SetCaption(QUtf8StringView(d.caption).toString());
}

void Label::SetCaption(const QString& caption) {
  setText(caption);  // also what a screen reader reads
  // Laid out in the designed box: at every scale the lines break where they do there.
  layout_ = &CachedLayout(caption, *style_, Twips().ToPixels().width());
  update();
}

void Label::paintEvent(QPaintEvent*) {
  // Transparent: only the characters are drawn, over whatever lies behind the box.
  QPainter painter(this);
  painter.setPen(colour_);
  const qreal scale = page_.Scale() * devicePixelRatioF();
  if (scale != 1 && (!scaledStyle_ || scaledFor_ != scale)) {
    scaledStyle_ = &TextStyleOf(*Description().font, scale);
    scaledFor_ = scale;
  }
  DrawCaption(painter, text(), scale == 1 ? *style_ : *scaledStyle_, *layout_, QRectF(rect()),
              alignment_, scale);
}

qreal Label::CaptionHeight() const { return layout_->Height(); }

void Label::mousePressEvent(QMouseEvent* e) {
  e->accept();
  RaiseEvent("MouseDown");
}

void Label::mouseDoubleClickEvent(QMouseEvent* e) { mousePressEvent(e); }

// --- Button ---

Button::Button(Page& page, const pagedesc::ControlDescription& d)
    : QPushButton(&page),
      Control(page, d, *this),
      isDefault_(d.isDefault),
      graphical_(d.graphical) {
  if (d.font) setFont(FontOf(*d.font, page.Scale()));
  setText(QUtf8StringView(d.caption).toString());
  setFocusPolicy(Qt::StrongFocus);
  setAutoDefault(false);
  setDefault(isDefault_);
  connect(this, &QPushButton::clicked, this, [this] { RaiseEvent("Click"); });
  // As on classic push buttons, the default look marks the button Enter presses: the focused
  // button while it has the focus, the page's default button while the focus is elsewhere.
  focusWatch_ =
      connect(qApp, &QApplication::focusChanged, this, [this] { setDefault(DrawnAsDefault()); });
}

// The focus moves while a page's widgets are torn down; by then this is no button any more.
Button::~Button() { disconnect(focusWatch_); }

bool Button::HasPageFocus() const {
  // The page's last focused control keeps its mark while another window is in front.
  return page_.focusWidget() == this;
}

bool Button::DrawnAsDefault() const {
  const auto* focused = qobject_cast<const Button*>(page_.focusWidget());
  return focused && focused->isVisible() ? focused == this : isDefault_;
}

void Button::SetPicture(const forms::Picture& picture) {
  picture_.Set(picture, page_.Density());
  // Named after what it opens (the label beside it); the picture says what it shows.
  setAccessibleDescription(picture.description);
  update();
}

void Button::Rescaled() {
  if (Description().font) setFont(FontOf(*Description().font, page_.Scale()));
  picture_.Sharpen(page_.Density());
}

void Button::paintEvent(QPaintEvent*) {
  // The focus frame shows from the first paint, not only once the keyboard has been used:
  // Enter and Space act on the focused button from the start.
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  if (HasPageFocus()) option.state |= QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange;
  // Decided here as well: a window shown before it is activated paints before Qt reports
  // the focus change.
  if (DrawnAsDefault())
    option.features |= QStyleOptionButton::DefaultButton;
  else
    option.features &= ~QStyleOptionButton::DefaultButton;
  // On a screen with more pixels than points the caption is drawn apart, in its own pixels.
  const QString caption = option.text;
  const bool apart = devicePixelRatioF() != 1 && Description().font;
  if (apart) option.text.clear();
  painter.drawControl(QStyle::CE_PushButton, option);
  if (apart) DrawScaledCaption(painter, option, caption);
  if (graphical_ && !picture_.IsNull()) DrawPicture(painter, option);
}

// Drawn as the style draws a caption, but in the screen's own pixels: Qt emboldens glyphs drawn
// through the screen's pixel ratio by what their unscaled size needs, half as much at twice it.
void Button::DrawScaledCaption(QStylePainter& painter, const QStyleOptionButton& option,
                               const QString& text) {
  if (text.isEmpty()) return;
  QRect face = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
  if (isDown())
    face.translate(style()->pixelMetric(QStyle::PM_ButtonShiftHorizontal, &option, this),
                   style()->pixelMetric(QStyle::PM_ButtonShiftVertical, &option, this));
  const qreal ratio = devicePixelRatioF();
  painter.save();
  painter.scale(1 / ratio, 1 / ratio);
  painter.setFont(FontOf(*Description().font, page_.Scale() * ratio));
  painter.setPen(option.palette.color(QPalette::ButtonText));
  painter.drawText(QRectF(QPointF(face.topLeft()) * ratio, QSizeF(face.size()) * ratio),
                   Qt::AlignCenter, text);
  painter.restore();
}

void Button::DrawPicture(QStylePainter& painter, const QStyleOptionButton& option) {
  // The picture sits centred on the face and is clipped to it; pressed, it shifts like a caption.
  const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this) + 1;
  const QRect face = rect().adjusted(frame, frame, -frame, -frame);
  const QSize natural = picture_.Natural().size();
  const qreal scale = page_.Scale();
  painter.save();
  painter.setClipRect(face);
  QPointF at =
      scale == 1
          ? QPointF(rect().center() - QPoint(natural.width() / 2, natural.height() / 2))
          : QRectF(rect()).center() - QPointF(natural.width(), natural.height()) * (scale / 2);
  at += QPointF(1, 1);
  if (isDown()) at += QPointF(1, 1);
  picture_.Draw(painter, at, scale);
  painter.restore();
  if (!(option.state & QStyle::State_HasFocus)) return;
  // The picture covers the face, so the focus frame goes over it.
  QStyleOptionFocusRect focus;
  focus.QStyleOption::operator=(option);
  focus.rect = face.adjusted(1, 1, -1, -1);
  painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
}

void Button::keyPressEvent(QKeyEvent* e) {
  // Enter clicks the button that has the focus, whichever button is the page's default.
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    if (!e->isAutoRepeat()) click();
    e->accept();
    return;
  }
  QPushButton::keyPressEvent(e);
}

// --- ImageBox ---

ImageBox::ImageBox(Page& page, const pagedesc::ControlDescription& d)
    : QWidget(&page), Control(page, d, *this) {
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_TranslucentBackground);
}

void ImageBox::SetPicture(const forms::Picture& picture) {
  picture_.Set(picture, page_.Density());
  TwipRect r = Twips();
  r.width = PixelsToTwips(picture.pixmap.width());
  r.height = PixelsToTwips(picture.pixmap.height());
  SetTwips(r);
  const bool changed = accessibleName() != picture.description;
  setAccessibleName(picture.description);
  update();
  // Another picture in its place, while the pupil is on the page: a screen reader says so.
  if (changed) PictureChanged(*this);
}

void ImageBox::Rescaled() { picture_.Sharpen(page_.Density()); }

void ImageBox::paintEvent(QPaintEvent*) {
  if (picture_.IsNull()) return;
  QPainter painter(this);
  picture_.Draw(painter, QPointF(0, 0), page_.Scale());
}

void ImageBox::mousePressEvent(QMouseEvent* e) {
  e->accept();
  RaiseEvent("MouseDown");
}

// --- Container ---

Container::Container(Page& page, const pagedesc::ControlDescription& d)
    : QFrame(&page), Control(page, d, *this) {
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setFocusPolicy(Qt::StrongFocus);
  setAccessibleName(QStringLiteral("動畫程式"));
}

void Container::CreateFromFile(const QString& path) {
  if (const auto problem = ProgramProblem(path)) throw Failure(*problem);
  file_ = path;
  setToolTip(QFileInfo(path).fileName());
  update();
}

void Container::Activate() {
  if (file_.isEmpty()) throw Failure(QStringLiteral("動畫程式尚未載入。"));
  // It runs beside the course; nothing waits for it.
  if (!StartProgram(page_, file_)) throw Failure(QStringLiteral("無法啟動程式：%1").arg(file_));
}

void Container::changeEvent(QEvent* e) {
  // A disabled container takes neither the focus nor the pupil's clicks.
  if (e->type() == QEvent::EnabledChange)
    setFocusPolicy(isEnabled() ? Qt::StrongFocus : Qt::NoFocus);
  QFrame::changeEvent(e);
}

void Container::paintEvent(QPaintEvent* e) {
  QFrame::paintEvent(e);
  QPainter painter(this);
  if (page_.focusWidget() == this) {
    // Its focus frame shows from the first paint, like a button's.
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.state |= QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange;
    focus.rect = contentsRect().adjusted(1, 1, -1, -1);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
  }
  if (file_.isEmpty()) return;
  // A small "program" mark: a screen with a play triangle.
  painter.setRenderHint(QPainter::Antialiasing);
  const QRectF r = QRectF(contentsRect()).adjusted(4, 3, -4, -3);
  painter.setPen(QPen(palette().color(QPalette::WindowText), 1));
  painter.setBrush(QColor(230, 240, 255));
  painter.drawRoundedRect(r, 2, 2);
  const qreal s = std::min(r.width(), r.height()) * 0.6;
  const QPointF c = r.center();
  const QPointF tri[] = {c + QPointF(-s / 3, -s / 2), c + QPointF(-s / 3, s / 2),
                         c + QPointF(s / 2, 0)};
  painter.setBrush(QColor(40, 110, 200));
  painter.setPen(Qt::NoPen);
  painter.drawPolygon(tri, 3);
}

}  // namespace forms
