#include "FuncGraph.h"

#include "Canvas.h"
#include "SlotCurve.h"
#include "QtObjects.h"
#include "ViewNavigation.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <numbers>
#include <stdexcept>
#include <utility>

namespace {

// The nearest 32-bit integer in the given direction of a value (ceil or floor), clamped.
std::int32_t toLong(long double v) {
  constexpr long double Lowest = std::numeric_limits<std::int32_t>::min();
  constexpr long double Highest = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(std::clamp(v, Lowest, Highest));
}

// Whether two ranges hold the same values; NaN counts as the same as NaN, so that a range
// holding one is not told as changed again and again.
bool sameRange(const GraphRange& a, const GraphRange& b) {
  const auto same = [](long double u, long double v) {
    return u == v || (std::isnan(u) && std::isnan(v));
  };
  return same(a.xMin, b.xMin) && same(a.xMax, b.xMax) && same(a.yMin, b.yMin) &&
         same(a.yMax, b.yMax);
}

// One axis of the plot: its range in the order of the pixels, and its length in pixels.
struct AxisView {
  long double lower;
  long double upper;
  std::int32_t pixels;
};

AxisView viewOf(const GraphMapping& m, bool x) {
  const GraphRange& r = m.graphRange();
  const std::int64_t pixels = x ? m.plotWidth() : m.plotHeight();
  const auto held = static_cast<std::int32_t>(
      std::clamp<std::int64_t>(pixels, 0, std::numeric_limits<std::int32_t>::max()));
  return x ? AxisView{r.xMin, r.xMax, held} : AxisView{r.yMin, r.yMax, held};
}

// Measures tick value texts as the axes write them, in the axis's value font.
ViewNavigation::TextWidth valueWidth(const TAxis& axis) {
  struct Probe {
    QImage image = newLayer(QSize(1, 1));
    Canvas canvas{image};
  };
  auto probe = std::make_shared<Probe>();
  probe->canvas.setFont(toQFont(axis.ValFont), toQColor(axis.ValFont.Color));
  // An axis in units of π is measured in them: v counts π.
  const TAxis units = axis;
  return [probe, units](long double v) {
    const long double value = units.PiTicks ? v * std::numbers::pi_v<long double> : v;
    return probe->canvas.textWidth(TickValueText(units, value));
  };
}

// The view of an axis in the units its period counts: π for an axis in units of π.
AxisView inPeriodUnits(AxisView view, const TAxis& axis) {
  if (axis.PiTicks) {
    view.lower /= std::numbers::pi_v<long double>;
    view.upper /= std::numbers::pi_v<long double>;
  }
  return view;
}

} // namespace

TFuncGraph::TFuncGraph(QWidget* parent) : QWidget(parent) {
  resize(40, 40);
  setAttribute(Qt::WA_OpaquePaintEvent);
  initAutoRedraw();
  setCursor(Qt::OpenHandCursor);
}

TFuncGraph::~TFuncGraph() = default;

template <class T> void TFuncGraph::refresh(T& field, const T& value) {
  field = value;
  UpdateGraph();
}

void TFuncGraph::setBackBrush(const TBrush& brush) {
  refresh(model.backBrush, brush);
}
void TFuncGraph::setBorderLine(bool on) {
  refresh(model.borderLine, on);
}
void TFuncGraph::setXAxis(const TAxis& axis) {
  model.xAxis.Assign(axis);
  UpdateGraph();
}
void TFuncGraph::setYAxis(const TAxis& axis) {
  model.yAxis.Assign(axis);
  UpdateGraph();
}
void TFuncGraph::setXMin(long double v) {
  model.range.xMin = v;
  followRange();
}
void TFuncGraph::setXMax(long double v) {
  model.range.xMax = v;
  followRange();
}
void TFuncGraph::setYMin(long double v) {
  model.range.yMin = v;
  followRange();
}
void TFuncGraph::setYMax(long double v) {
  model.range.yMax = v;
  followRange();
}

// A tick interval that the program chose for the range before is chosen again for the new one,
// so that ticks picked for a deep zoom do not smear a typed range into a band.
void TFuncGraph::followRange() {
  remap();
  for (TAxis* axis : {&model.xAxis, &model.yAxis})
    if (periodChosen(*axis)) axis->GuagePeriod = fittedPeriod(*axis);
  UpdateGraph();
}

void TFuncGraph::setTickPeriod(TAxis& axis, long double period) {
  axis.GuagePeriod = period;
  periodChosen(axis) = false;
  UpdateGraph();
}

bool& TFuncGraph::periodChosen(const TAxis& axis) {
  return chosenPeriods[&axis == &model.xAxis ? 0 : 1];
}
void TFuncGraph::setMarginLeft(std::int32_t pixels) {
  refresh(model.margins.left, pixels);
}
void TFuncGraph::setMarginRight(std::int32_t pixels) {
  refresh(model.margins.right, pixels);
}
void TFuncGraph::setMarginTop(std::int32_t pixels) {
  refresh(model.margins.top, pixels);
}
void TFuncGraph::setMarginBottom(std::int32_t pixels) {
  refresh(model.margins.bottom, pixels);
}

TFormula& TFuncGraph::slot(int index) {
  if (index < 1 || index > FormulaCount) throw std::out_of_range("function slot out of range");
  return model.formulas[index - 1];
}

const TFormula& TFuncGraph::Formula(int index) const {
  return const_cast<TFuncGraph*>(this)->slot(index);
}
QString TFuncGraph::FormulaText(int index) const {
  return Formula(index).Formula;
}
// The same text again (the function dialog loading what it shows) asks for no redraw.
void TFuncGraph::setFormulaText(int index, const QString& text) {
  QString& formula = slot(index).Formula;
  if (formula == text) return;
  formula = text;
  formulaChanged(index);
}
void TFuncGraph::setFormulaKind(int index, CurveKind kind) {
  CurveKind& held = slot(index).Kind;
  if (held == kind) return;
  held = kind;
  formulaChanged(index);
}
void TFuncGraph::setFormulaYText(int index, const QString& text) {
  QString& formula = slot(index).FormulaY;
  if (formula == text) return;
  formula = text;
  formulaChanged(index);
}
bool TFuncGraph::setFormulaTRange(int index, long double tMin, long double tMax) {
  if (!std::isfinite(tMin) || !std::isfinite(tMax) || !(tMin < tMax)) return false;
  TFormula& held = slot(index);
  if (held.TMin == tMin && held.TMax == tMax) return true;
  held.TMin = tMin;
  held.TMax = tMax;
  scheduleRedraw();
  return true;
}
void TFuncGraph::formulaChanged(int index) {
  discoverParameters(slot(index));
  refreshLegend();
  scheduleRedraw();
}
TPen& TFuncGraph::FormulaPen(int index) {
  return slot(index).Pen;
}

// The axis flags are the axes' own settings: once an axis line falls outside the plot it
// stays hidden until a new axis object or a loaded document shows it again.
void TFuncGraph::UpdateGraph() {
  remap();
  const int originX = mapping.originX();
  const int originY = mapping.originY();
  if (originY < model.margins.top || originY > mapping.plotBottom()) model.xAxis.Visible = false;
  if (originX < model.margins.left || originX > mapping.plotRight()) model.yAxis.Visible = false;
  drawBackground();
  // Exploring leaves the plot's rectangle, and so the legend, as it is: only a refresh draws it.
  refreshLegend();
  noteRange();
  emit Edited();
}

void TFuncGraph::remap() {
  mapping = GraphMapping(model.range, model.margins, width(), height());
  const qreal ratio = RenderScale();
  const auto device = [ratio](std::int32_t logical) { return toDevicePixels(logical, ratio); };
  const GraphMargins deviceMargins{device(model.margins.left), device(model.margins.right), device(model.margins.top),
                                   device(model.margins.bottom)};
  deviceMapping = GraphMapping(model.range, deviceMargins, device(width()), device(height()));
  placePinnedLabels();
}

// A pinned label's corner follows its graph point, so that every new mapping carries it along.
void TFuncGraph::placePinnedLabels() {
  for (TGraphLabel* label : FLabels)
    if (label && label->Pin())
      label->move(mapping.xToPixel(label->Pin()->x), mapping.yToPixel(label->Pin()->y));
}

QImage TFuncGraph::deviceLayer() const {
  const qreal ratio = RenderScale();
  QImage layer = newLayer(QSize(toDevicePixels(width(), ratio), toDevicePixels(height(), ratio)));
  layer.setDevicePixelRatio(ratio);
  return layer;
}

qreal TFuncGraph::RenderScale() const {
  return renderScale > 0 ? renderScale : devicePixelRatioF();
}

void TFuncGraph::setRenderScale(qreal ratio) {
  renderScale = ratio;
  followRatio();
}

// Nothing is drawn before the first UpdateGraph. Curves drawn at the old ratio would no longer
// fit the background, so they are drawn again.
void TFuncGraph::followRatio() {
  if (!backLayer || backLayer->devicePixelRatio() == RenderScale()) return;
  const bool curvesShown = curveLayer != nullptr;
  discardCurves();
  UpdateGraph();
  if (curvesShown) DrawFunctions();
}

bool TFuncGraph::event(QEvent* event) {
  const bool handled = QWidget::event(event);
  if (event->type() == QEvent::ScreenChangeInternal) followRatio();
#if QT_VERSION >= QT_VERSION_CHECK(6, 6, 0)
  if (event->type() == QEvent::DevicePixelRatioChange) followRatio();
#endif
  return handled;
}

void TFuncGraph::noteRange() {
  if (sameRange(model.range, toldRange)) return;
  toldRange = model.range;
  emit RangeChanged();
}

void TFuncGraph::drawBackground() {
  backLayer = std::make_unique<QImage>(deviceLayer());
  update();
  if (backLayer->isNull()) return; // a graph squeezed to nothing has no picture
  Canvas canvas(*backLayer);
  canvas.setBrush(toQBrush(model.backBrush));
  canvas.fillRect(backLayer->rect());
  DrawGrid(canvas, deviceMapping, model.xAxis, model.yAxis);
  DrawXAxis(canvas, deviceMapping, model.xAxis);
  DrawYAxis(canvas, deviceMapping, model.yAxis, model.xAxis);
  scheduleRedraw();
}

void TFuncGraph::discardCurves() {
  curveLayer.reset();
  ++curveGeneration;
}

// A new graph keeps its brush's style and the widget's state (size, ratio, engine), and starts
// with automatic redraw as its window wants it.
void TFuncGraph::ResetGraph() {
  GraphModel fresh = GraphModel::NewGraph();
  fresh.backBrush.Style = model.backBrush.Style;
  fresh.autoRedrawByDefault = model.autoRedrawByDefault;
  fresh.autoRedraw = model.autoRedrawByDefault;
  discardCurves();
  graphName.clear();
  setModel(fresh);
  UpdateGraph();
}

namespace {

int labelIndex(int slot) {
  if (slot < 1 || slot > TFuncGraph::LabelCount) throw std::out_of_range("label slot out of range");
  return slot - 1;
}

} // namespace

TGraphLabel* TFuncGraph::Label(int slot) const {
  return FLabels[labelIndex(slot)];
}

TGraphLabel* TFuncGraph::newLabel(int slot) {
  destroyLabel(slot);
  auto* label = new TGraphLabel(this, slot);
  label->setCursor(Qt::ArrowCursor); // the graph's hand is for panning, not for labels
  label->show();
  FLabels[labelIndex(slot)] = label;
  return label;
}

void TFuncGraph::destroyLabel(int slot) {
  delete std::exchange(FLabels[labelIndex(slot)], nullptr);
}

// A hidden label is one the user deleted: adding makes its slot free again.
bool TFuncGraph::AddLabel(std::int32_t left, std::int32_t top) {
  for (int n = 1; n <= LabelCount; ++n)
    if (Label(n) && Label(n)->isHidden()) destroyLabel(n);
  const auto free = std::find(FLabels.begin(), FLabels.end(), nullptr);
  if (free == FLabels.end()) return false;
  const int slot = static_cast<int>(free - FLabels.begin()) + 1;
  TGraphLabel* label = newLabel(slot);
  label->move(left, top);
  label->setCaption(QString::asprintf("GraphLabel%2.2d", slot));
  emit Edited();
  return true;
}

// Only this graph's own labels: their Left and Top are pixels of this graph.
bool TFuncGraph::DragOver(QObject* source, QPoint pos) {
  auto* label = qobject_cast<TGraphLabel*>(source);
  if (!label || label->parentWidget() != this) return false;
  label->move(pos - label->GrabOffset());
  if (label->Pin()) label->setPinned(true);
  emit Edited();
  return true;
}

// The dragged label already stands where the last drag over the graph put it; dropped with
// Ctrl held, it is pinned to the graph point under its corner.
void TFuncGraph::DragDrop(QObject* source, QPoint) {
  auto* label = qobject_cast<TGraphLabel*>(source);
  if (!label || !(QGuiApplication::keyboardModifiers() & Qt::ControlModifier)) return;
  label->setPinned(true);
  emit Edited();
}

QImage TFuncGraph::Picture() const {
  QImage picture = deviceLayer();
  if (picture.isNull()) return picture;
  Canvas canvas(picture);
  if (backLayer) canvas.draw(0, 0, *backLayer, CopyMode::SrcCopy);
  if (curveLayer) canvas.draw(0, 0, *curveLayer, CopyMode::SrcAnd);
  if (!legendPicture.isNull())
    canvas.draw(legendAt.x(), legendAt.y(), legendPicture, CopyMode::SrcCopy);
  return picture;
}

// Composes straight onto the screen, only where it is exposed, instead of building the picture:
// a full-screen graph would otherwise allocate and fill a new image on every paint. The layers
// carry their ratio, so that at the screen's own ratio each of their pixels is one on the screen.
void TFuncGraph::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QRect exposed = event->rect();
  painter.fillRect(exposed, Qt::white);
  painter.setClipRect(exposed);
  if (backLayer) painter.drawImage(QPoint(0, 0), *backLayer);
  if (curveLayer) {
    painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    painter.drawImage(QPoint(0, 0), *curveLayer);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  }
  if (!legendPicture.isNull())
    painter.drawImage(QPointF(legendAt) / legendPicture.devicePixelRatio(), legendPicture);
}

// Curves disappear on every resize until the next DrawFunctions, which AutoRedraw brings at once
// (UpdateGraph asks for it).
void TFuncGraph::resizeEvent(QResizeEvent*) {
  UpdateGraph();
  discardCurves();
  update();
}

// At a ratio above 1 the clipboard gets the picture at the layers' resolution, carrying its
// ratio: the labels are written at their place in device pixels and in their fonts at that
// resolution, so that a pasted picture is as sharp as the screen. Programs that know the ratio
// show it at the graph's size, the others at r times that size; a copy scaled down to the
// window's size would lose what the screen shows.
QImage TFuncGraph::ClipboardPicture() const {
  QImage picture = Picture();
  if (picture.isNull()) return picture;
  Canvas canvas(picture);
  canvas.setBrush(toQBrush(model.backBrush));
  for (const QObject* child : children()) {
    const auto* label = qobject_cast<const TGraphLabel*>(child);
    if (!label || label->isHidden()) continue;
    canvas.setFont(toQFont(label->Font()), toQColor(label->Font().Color));
    canvas.textOut(canvas.devicePixels(label->Left()), canvas.devicePixels(label->Top()),
                   label->Caption());
  }
  return picture;
}

void TFuncGraph::CopyToClipboard() {
  QGuiApplication::clipboard()->setImage(ClipboardPicture());
}

bool TFuncGraph::processPendingMessages(std::uint64_t redraw) {
  update();
  QCoreApplication::processEvents();
  return curveGeneration == redraw && curveLayer != nullptr;
}

bool TFuncGraph::DrawFunctions() {
  const DrawingScope scope(*this);
  discardCurves();
  setParametersIntoEngine();
  curveLayer = std::make_unique<QImage>(deviceLayer());
  const std::uint64_t redraw = curveGeneration;
  CalculusMarks marks = CalculusShapes(deviceMapping);
  std::vector<CalculusFill> regions =
      RegionFills(deviceMapping, QRectF(QPointF(0, 0), QSizeF(curveLayer->size())));
  marks.fills.insert(marks.fills.begin(), regions.begin(), regions.end());
  paintMarks(*curveLayer, marks, paintFills);
  bool result = true;
  for (int n = 1; n <= FormulaCount; ++n) {
    if (!slot(n).Used()) continue;
    if (OnDrawStart) OnDrawStart(this, n);
    DrawFunction(n, *curveLayer);
    // Each finished curve shows at once. A resize, a new graph or another redraw while
    // messages run replaces this layer, and then this redraw stops after the slot's events.
    const bool intact = processPendingMessages(redraw);
    if (slot(n).Error()) {
      result = false;
      if (OnFormulaError) OnFormulaError(this, n);
    }
    if (OnDrawEnd) OnDrawEnd(this, n);
    if (!intact) {
      emit CurvesDrawn();
      return result;
    }
  }
  paintMarks(*curveLayer, marks, paintLines);
  update();
  emit CurvesDrawn();
  return result;
}

// Each relation works on a copy of its slot, so that the slot's error state stays its curve's.
std::vector<CalculusFill> TFuncGraph::RegionFills(const GraphMapping& on,
                                                  const QRectF& picture) const {
  std::vector<CalculusFill> fills;
  for (const TFormula& formula : model.formulas) {
    if (formula.Kind != CurveKind::Relation || !formula.Used()) continue;
    TFormula copy = formula;
    withCurve(copy, evalon, [&](GraphCurve& curve) {
      std::vector<QPolygonF> polygons = curve.fills(on, picture);
      if (!polygons.empty())
        fills.push_back({areaTint(toQPen(formula.Pen).color()), std::move(polygons)});
    });
  }
  return fills;
}

CalculusMarks TFuncGraph::CalculusShapes(const GraphMapping& on) const {
  if (model.calculus.isEmpty()) return {};
  auto copies = std::make_shared<std::array<TFormula, FormulaCount>>(model.formulas);
  std::array<TPen, FormulaCount> pens;
  std::array<bool, FormulaCount> used{};
  for (std::size_t n = 0; n < FormulaCount; ++n) {
    pens[n] = model.formulas[n].Pen;
    // Derivatives, tangents and areas belong to y = f(x) curves.
    used[n] = model.formulas[n].Used() && model.formulas[n].Kind == CurveKind::Function;
  }
  const SlotValue value = [copies, binding = evalon](int slot, double x) -> std::optional<double> {
    const auto y = withCurve((*copies)[std::size_t(slot - 1)], binding,
                             [x](GraphCurve& curve) { return curve.valueAt(x); });
    if (!y || !std::isfinite(*y)) return std::nullopt;
    return static_cast<double>(*y);
  };
  return calculusMarks(model.calculus, on, pens, used, value);
}

// The marks are in device pixels, the layer's painter works in its logical ones.
void TFuncGraph::paintMarks(QImage& layer, const CalculusMarks& marks,
                            void (*paint)(const CalculusMarks&, QPainter&)) {
  if (marks.fills.empty() && marks.lines.empty()) return;
  QPainter painter(&layer);
  painter.scale(1 / layer.devicePixelRatio(), 1 / layer.devicePixelRatio());
  paint(marks, painter);
}

void TFuncGraph::setCalculus(const GraphCalculus& calculus) {
  model.calculus = calculus;
  emit Edited();
  DrawFunctions();
}

void TFuncGraph::DrawFunction(int number, QImage& layer) {
  TFormula& formula = slot(number);
  Canvas canvas(layer);
  canvas.setPen(toQPen(formula.Pen));
  withCurve(formula, evalon, [&](GraphCurve& curve) { curve.draw(canvas, deviceMapping); });
}

bool TFuncGraph::GetFunctionRange(int number, long double& max, long double& min) {
  const bool any = withCurve(slot(number), evalon, [&](GraphCurve& curve) {
    return curve.yExtent(mapping, width(), min, max);
  });
  QCoreApplication::processEvents();
  return any;
}

void TFuncGraph::FitYRange() {
  bool any = false;
  long double max = 0.0L;
  long double min = 0.0L;
  for (int n = 1; n <= FormulaCount; ++n) {
    long double slotMax = 0.0L;
    long double slotMin = 0.0L;
    if (!slot(n).Used() || !GetFunctionRange(n, slotMax, slotMin)) continue;
    max = any ? std::max(max, slotMax) : slotMax;
    min = any ? std::min(min, slotMin) : slotMin;
    any = true;
  }
  if (!any) return;
  model.range.yMax = toLong(std::ceil(max));
  model.range.yMin = toLong(std::floor(min));
  noteRange();
  emit Edited();
}

long double TFuncGraph::fittedPeriod(const TAxis& axis) const {
  const AxisView view = inPeriodUnits(viewOf(mapping, &axis == &model.xAxis), axis);
  const auto fitted = axis.PiTicks ? ViewNavigation::fittedPiPeriod : ViewNavigation::fittedPeriod;
  return fitted(view.lower, view.upper, view.pixels, axis.GuagePeriod, valueWidth(axis));
}

bool TFuncGraph::ticksUnfit(const TAxis& axis) const {
  const AxisView view = inPeriodUnits(viewOf(mapping, &axis == &model.xAxis), axis);
  return ViewNavigation::periodUnfit(view.lower, view.upper, view.pixels, axis.GuagePeriod,
                                     valueWidth(axis));
}

void TFuncGraph::FitTickPeriod(TAxis& axis) {
  remap();
  axis.GuagePeriod = fittedPeriod(axis);
  periodChosen(axis) = true;
  UpdateGraph();
}

// Exploring passes through many ranges on the way: an axis that leaves the plot for a while
// keeps its flag and shows again when its line returns.
void TFuncGraph::explore(const GraphRange& view, bool zooming) {
  model.range = view;
  remap();
  if (zooming)
    for (TAxis* axis : {&model.xAxis, &model.yAxis})
      if (ticksUnfit(*axis)) {
        axis->GuagePeriod = fittedPeriod(*axis);
        periodChosen(*axis) = true;
      }
  drawBackground();
  noteRange();
  DrawFunctions();
}

void TFuncGraph::ShowRange(const GraphRange& view) {
  explore(view, true);
}

// Shift may arrive as a horizontal turn, so whichever component moved is the turn.
void TFuncGraph::wheelEvent(QWheelEvent* event) {
  const QPoint angle = event->angleDelta();
  const int delta = angle.y() != 0 ? angle.y() : angle.x();
  if (delta == 0) return QWidget::wheelEvent(event);
  event->accept();
  const bool onlyX = event->modifiers() & Qt::ShiftModifier;
  const bool onlyY = event->modifiers() & Qt::ControlModifier;
  const long double factor = ViewNavigation::wheelFactor(delta);
  const QPointF at = event->position();
  explore(ViewNavigation(mapping).zoomed(at.x(), at.y(), onlyY && !onlyX ? 1 : factor,
                                         onlyX && !onlyY ? 1 : factor),
          true);
}

// Presses on a label reach the label, which takes them; only the graph's own come here. A press
// on the legend moves the legend, not the view.
void TFuncGraph::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  event->accept();
  if (pressLegend(event)) return;
  const bool span = spanSelection && (event->modifiers() & Qt::ShiftModifier);
  pan = Pan{true, false, span, event->position(), mapping};
}

void TFuncGraph::mouseMoveEvent(QMouseEvent* event) {
  if (moveLegend(event)) return event->accept();
  if (!pan.armed || !(event->buttons() & Qt::LeftButton)) {
    if (event->buttons() == Qt::NoButton) showPointer(event->position());
    return QWidget::mouseMoveEvent(event);
  }
  event->accept();
  const QPointF moved = event->position() - pan.press;
  if (!pan.active && moved.manhattanLength() < QApplication::startDragDistance()) return;
  if (!pan.active) setCursor(pan.span ? Qt::SizeHorCursor : Qt::ClosedHandCursor);
  pan.active = true;
  if (!pan.span) explore(ViewNavigation(pan.start).panned(moved.x(), moved.y()), false);
}

void TFuncGraph::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
  event->accept();
  releaseLegend(event);
  const Pan ended = std::exchange(pan, Pan{});
  showPointer(event->position());
  if (ended.armed && !ended.active) emit Clicked(ended.press);
  if (ended.active && ended.span)
    emit SpanSelected(PixelToX(std::lround(ended.press.x())),
                      PixelToX(std::lround(event->position().x())));
}
