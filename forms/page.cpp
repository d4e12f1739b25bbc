#include "forms/page.h"

#include <QKeyEvent>
#include <QPainter>
#include <algorithm>

#include "forms/colours.h"
#include "forms/units.h"
#include "forms/window.h"

namespace forms {

Page::Page(const pagedesc::PageDescription& description, FailureSink sink, QWidget* window)
    : QWidget(window), description_(description), sink_(std::move(sink)) {
  setObjectName(Name());
  hide();
  if (auto* shownIn = qobject_cast<Window*>(window)) scale_ = shownIn->ScaleFor(DesignSize());
  // A fixed frame: the client area always has its design size, times the scale.
  setFixedSize(ClientArea().ToPixels(scale_).size());
  BuildControls();
  OrderFocus();
}

Page::~Page() = default;

QString Page::Name() const { return QUtf8StringView(description_.name).toString(); }

TwipRect Page::ClientArea() const {
  return {0, 0, description_.clientWidth, description_.clientHeight};
}

QSize Page::DesignSize() const { return ClientArea().ToPixels().size(); }

void Page::SetScale(double scale) {
  if (scale == scale_ || unloaded_) return;
  const FailureSink sink = sink_;
  RunHandler(sink, [&] {
    scale_ = scale;
    setFixedSize(ClientArea().ToPixels(scale_).size());
    for (Control* c : controls_) c->Rescale();
    background_.Sharpen(Density());
    update();
  });
}

void Page::BuildControls() {
  // Created from the last listed to the first: each new child is stacked above those before it,
  // so the first listed ends up in front.
  controls_.resize(description_.controls.size());
  for (std::size_t i = description_.controls.size(); i-- > 0;) {
    const pagedesc::ControlDescription& d = description_.controls[i];
    switch (d.kind) {
      case pagedesc::Kind::Label: controls_[i] = new forms::Label(*this, d); break;
      case pagedesc::Kind::Button: controls_[i] = new forms::Button(*this, d); break;
      case pagedesc::Kind::Image: controls_[i] = new forms::ImageBox(*this, d); break;
      case pagedesc::Kind::Container: controls_[i] = new forms::Container(*this, d); break;
    }
    controls_[i]->Widget().raise();
  }
}

std::vector<QWidget*> Page::TabOrder() const {
  std::vector<std::pair<int, QWidget*>> order;
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    const auto& d = description_.controls[i];
    QWidget& w = controls_[i]->Widget();
    if (d.tab && w.focusPolicy() != Qt::NoFocus) order.emplace_back(*d.tab, &w);
  }
  std::sort(order.begin(), order.end(),
            [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<QWidget*> widgets;
  for (const auto& [tab, w] : order) widgets.push_back(w);
  return widgets;
}

void Page::OrderFocus() {
  const std::vector<QWidget*> order = TabOrder();
  for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

Button* Page::DefaultButton() const {
  for (Control* c : controls_)
    if (auto* b = dynamic_cast<Button*>(c); b && b->IsDefault()) return b;
  return nullptr;
}

// --- handlers ---

void Page::On(const QString& name, Handler handler) { handlers_[name] = std::move(handler); }

bool Page::HasHandler(const QString& name) const { return handlers_.count(name) != 0; }

QStringList Page::HandlerNames() const {
  QStringList names;
  for (const auto& [name, h] : handlers_) names << name;
  return names;
}

void Page::Raise(const QString& name, int index) {
  if (unloaded_) return;
  const auto it = handlers_.find(name);
  if (it == handlers_.end()) return;  // a control without a handler ignores the event
  // Copies: the handler may unload this page while it runs.
  const Handler handler = it->second;
  const FailureSink sink = sink_;
  RunHandler(sink, [&] { handler(index); });
}

void Page::Call(const QString& name) {
  const auto it = handlers_.find(name);
  if (it == handlers_.end()) return;
  const Handler handler = it->second;
  handler(-1);
}

// --- life ---

QString Page::Title() const { return QUtf8StringView(description_.title).toString(); }

QString Page::AccessibleName() const {
  if (!description_.heading.empty())
    for (Control* c : controls_)
      if (auto* label = dynamic_cast<Label*>(c);
          label && c->Description().name == description_.heading)
        return label->Caption().trimmed() + place_;
  return QUtf8StringView(description_.spokenName).toString() + place_;
}

namespace {

// Where reading meets a control going down the page: a picture once the text beside it is read.
int ReadFrom(pagedesc::Kind kind, const TwipRect& r) {
  return kind == pagedesc::Kind::Image ? r.top + r.height : r.top;
}

}  // namespace

// How a sighted pupil reads the page: the heading first; then text and pictures from the top
// down (a picture after the text that begins beside it, so by its bottom edge), each picture
// followed by the labels that name its parts (centred labels over it); then the buttons in
// keyboard order. Hidden controls are not read.
std::vector<Control*> Page::ReadingOrder() const {
  std::vector<Control*> read, parts, buttons;
  std::vector<std::pair<std::pair<int, int>, Control*>> body;
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    Control* c = controls_[i];
    const pagedesc::ControlDescription& d = description_.controls[i];
    if (!c->Visible()) continue;
    if (d.kind == pagedesc::Kind::Button || d.kind == pagedesc::Kind::Container)
      buttons.push_back(c);
    else if (d.name == description_.heading)
      read.push_back(c);
    else if (NamesAPart(*c))
      parts.push_back(c);
    else
      body.push_back({{ReadFrom(d.kind, c->Twips()), c->Twips().left}, c});
  }
  std::stable_sort(body.begin(), body.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::stable_sort(parts.begin(), parts.end(), [](Control* a, Control* b) {
    return std::pair(a->Twips().top, a->Twips().left) < std::pair(b->Twips().top, b->Twips().left);
  });
  for (const auto& [key, c] : body) {
    read.push_back(c);
    for (Control* part : parts)
      if (PictureUnder(*part) == c) read.push_back(part);
  }
  const std::vector<QWidget*> order = TabOrder();
  std::stable_sort(buttons.begin(), buttons.end(), [&](Control* a, Control* b) {
    return std::find(order.begin(), order.end(), &a->Widget()) <
           std::find(order.begin(), order.end(), &b->Widget());
  });
  read.insert(read.end(), buttons.begin(), buttons.end());
  return read;
}

bool Page::NamesAPart(Control& label) const {
  const pagedesc::ControlDescription& d = label.Description();
  return d.kind == pagedesc::Kind::Label && d.alignment == pagedesc::Alignment::Centre &&
         PictureUnder(label);
}

// The picture a label lies over, if any: its centre inside the picture's box.
Control* Page::PictureUnder(Control& label) const {
  const QRect box = label.Widget().geometry();
  for (Control* c : controls_)
    if (dynamic_cast<ImageBox*>(c) && c->Visible() && c->Widget().geometry().contains(box.center()))
      return c;
  return nullptr;
}

void Page::FocusFirst() {
  for (QWidget* w : TabOrder()) {
    if (w->isEnabled() && !w->isHidden()) {
      w->setFocus(Qt::OtherFocusReason);
      return;
    }
  }
}

void Page::Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  handlers_.clear();
  hide();
  // The caller may be one of this page's own handlers, still on the stack.
  deleteLater();
}

// --- contents ---

void Page::SetPicture(const forms::Picture& picture) {
  background_.Set(picture, Density());
  update();
}

Control& Page::Find(const QString& name, std::optional<int> index) {
  for (Control* c : controls_)
    if (c->Name() == name && c->Index() == index) return *c;
  throw Failure(QStringLiteral("頁面 %1 沒有名為 %2 的控制項。").arg(Name(), name));
}

template <class T>
T& Page::Named(const QString& name, std::optional<int> index, const char* kind) {
  if (auto* t = dynamic_cast<T*>(&Find(name, index))) return *t;
  throw Failure(
      QStringLiteral("頁面 %1 的 %2 不是%3。").arg(Name(), name, QString::fromUtf8(kind)));
}

Label& Page::LabelNamed(const QString& name) { return Named<Label>(name, std::nullopt, "標籤"); }
Button& Page::ButtonNamed(const QString& name, std::optional<int> index) {
  return Named<Button>(name, index, "按鈕");
}
ImageBox& Page::ImageNamed(const QString& name) {
  return Named<ImageBox>(name, std::nullopt, "圖像框");
}
Container& Page::ContainerNamed(const QString& name) {
  return Named<Container>(name, std::nullopt, "物件容器");
}

// --- events ---

void Page::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  // The colour shows where no background picture covers the page.
  const QSizeF covered = QSizeF(background_.Natural().size()) * scale_;
  if (covered.width() < width() || covered.height() < height() ||
      background_.Natural().hasAlphaChannel())
    painter.fillRect(rect(), ResolveColour(description_.background));
  // Drawn once, untiled, from the top-left corner, at the page's scale.
  background_.Draw(painter, QPointF(0, 0), scale_);
}

void Page::mousePressEvent(QMouseEvent* e) {
  e->accept();
  Raise(QStringLiteral("Form_MouseDown"));
}

void Page::mouseDoubleClickEvent(QMouseEvent* e) { mousePressEvent(e); }

void Page::keyPressEvent(QKeyEvent* e) {
  // Reaches the page only when no button has the focus: Enter clicks the default button.
  if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && !e->isAutoRepeat()) {
    if (Button* b = DefaultButton(); b && b->isVisible() && b->isEnabled()) {
      e->accept();
      b->click();
      return;
    }
  }
  QWidget::keyPressEvent(e);
}

}  // namespace forms
