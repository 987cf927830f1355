// TFuncGraph: the graph control. It holds one graph model (GraphModel: range, margins, back
// brush, two axes, five function slots, labels, parameters, options) and draws it: it maps
// between graph coordinates and pixels, keeps two off-screen layers (background with fill and
// axes; white curve layer) and combines them when painted: the background copied, the curves
// ANDed over it; the legend's box, drawn apart, goes over both. The labels are child widgets
// that the user drags and edits.
//
// On a screen of device pixel ratio r the layers have r times the pixels in each direction and
// carry that ratio: the graph is drawn on the device mapping (the client size and margins in
// device pixels), with a sample per device column and pens, ticks and fonts scaled by the
// canvas. Everything the graph shows to its users (XToPixel and the other conversions, Mapping,
// the mouse, labels, margins) stays in the window's own coordinates.
#pragma once

#include "CalculusMarks.h"
#include "GraphLabel.h"
#include "GraphModel.h"
#include "LegendBox.h"

#include <QImage>
#include <QPointF>
#include <QSize>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class IniFile;
class TEvalon;

class TFuncGraph : public QWidget, public TDragTarget {
  Q_OBJECT

public:
  // The graph's event type: the sender and a function slot 1..5.
  using TGraphEvent = std::function<void(TFuncGraph* sender, std::int32_t number)>;
  static constexpr int FormulaCount = GraphModel::FormulaCount;
  static constexpr int LabelCount = GraphModel::LabelCount;
  static constexpr GraphColor DefaultBackColor = GraphModel::DefaultBackColor;
  // The client size of the graph in a new main window; tools that draw a document without a
  // window use it too, so that their pictures match the program's.
  static constexpr QSize StartSize{336, 316};

  explicit TFuncGraph(QWidget* parent = nullptr);
  ~TFuncGraph() override;

  // The published properties. Writing one that refreshes stores it, then calls UpdateGraph.
  TEvalon* Evalon() const { return evalon; }
  void setEvalon(TEvalon* binding) { evalon = binding; }
  const TBrush& BackBrush() const { return model.backBrush; }
  void setBackBrush(const TBrush& brush);
  bool BorderLine() const { return model.borderLine; }
  void setBorderLine(bool on);
  TAxis& XAxis() { return model.xAxis; }
  TAxis& YAxis() { return model.yAxis; }
  void setXAxis(const TAxis& axis);
  void setYAxis(const TAxis& axis);
  long double XMin() const { return model.range.xMin; }
  long double XMax() const { return model.range.xMax; }
  long double YMin() const { return model.range.yMin; }
  long double YMax() const { return model.range.yMax; }
  void setXMin(long double v);
  void setXMax(long double v);
  void setYMin(long double v);
  void setYMax(long double v);
  std::int32_t MarginLeft() const { return model.margins.left; }
  std::int32_t MarginRight() const { return model.margins.right; }
  std::int32_t MarginTop() const { return model.margins.top; }
  std::int32_t MarginBottom() const { return model.margins.bottom; }
  void setMarginLeft(std::int32_t pixels);
  void setMarginRight(std::int32_t pixels);
  void setMarginTop(std::int32_t pixels);
  void setMarginBottom(std::int32_t pixels);
  const QString& GraphName() const { return graphName; }
  void setGraphName(const QString& name) { graphName = name; }
  TGraphEvent OnDrawStart, OnDrawEnd, OnFormulaError;
  // When on, every change of the graph redraws the curves soon after, once for all the changes
  // of one event (defined in AutoRedraw.cpp). The document stores it when it differs from the
  // default, which ResetGraph and a document without the key give: off, unless the graph's
  // window asks for on with setAutoRedrawByDefault.
  bool AutoRedraw() const { return model.autoRedraw; }
  void setAutoRedraw(bool on);
  void setAutoRedrawByDefault(bool on) { model.autoRedrawByDefault = on; }
  // The legend (FuncGraphLegend.cpp): a box above the curves in the corner of the plot that it
  // names. A left-button drag on it moves it; let go, it goes to the nearest corner.
  const GraphLegend& Legend() const { return model.legend; }
  void setLegendVisible(bool on);
  void setLegendCorner(LegendCorner corner);
  // Where the legend's box stands, in client pixels; empty when none shows.
  QRect LegendRect() const;
  // Tells the graph that what the curves look like changed behind its back (a pen edited in
  // place through FormulaPen), so that they follow when AutoRedraw is on.
  void CurvesChanged();
  // Whether the curves, shown or discarded, may be older than what the graph now holds: a
  // change of range, margins, axes, size, formulas or pens came after the last DrawFunctions
  // began, or nothing was drawn yet. With AutoRedraw on they are so only until the redraw runs.
  bool CurvesStale() const { return curvesStale; }

  // The function slots 1..5; any other index throws std::out_of_range.
  QString FormulaText(int index) const;
  void setFormulaText(int index, const QString& text);
  // The slot's kind, its y(t) and its t range; a range whose ends are not finite or not in
  // order is refused (false) and changes nothing.
  void setFormulaKind(int index, CurveKind kind);
  void setFormulaYText(int index, const QString& text);
  bool setFormulaTRange(int index, long double tMin, long double tMax);
  TPen& FormulaPen(int index);
  const TFormula& Formula(int index) const;

  // The parameters of the formulas (GraphParameterUse.cpp): a formula text given to the graph
  // adds the names it uses that are new, and drops the rows no formula uses that still hold
  // the defaults; a row the user has set stays until ResetGraph or LoadFromFile clear them.
  // DrawFunctions writes them all into the engine before it draws.
  const GraphParameters& Parameters() const { return model.parameters; }
  // Stores the value (one outside the range widens it), writes it into the engine and draws
  // the curves at once; false, and nothing changed, when the value is not finite.
  bool setParameterValue(int index, double value);
  // False, and nothing changed, unless min < max, both finite; a value that falls outside
  // moves to the nearer end and the curves are drawn at once.
  bool setParameterRange(int index, double min, double max);
  // The row of the name, added with the defaults when new; -1 when the text is no parameter
  // name or every row is taken.
  int addParameter(const QString& name);

  // Label slots 1..16: the label in the slot, or null when it is empty; a hidden label is one
  // the user deleted. Any other index throws std::out_of_range.
  TGraphLabel* Label(int slot) const;
  // Adds a label at the given client pixel in the lowest free slot, after destroying the hidden
  // labels; false when all sixteen slots hold visible labels.
  bool AddLabel(std::int32_t left, std::int32_t top);
  // A label dragged over the graph moves so that its grab point stays under the pointer.
  bool DragOver(QObject* source, QPoint pos) override;
  void DragDrop(QObject* source, QPoint pos) override;

  // The document named after GraphName with the extension ".kvx" (FuncGraphDocument.cpp).
  // Saving raises KurvoError when the file cannot be written. Loading raises KurvoError, and
  // changes nothing, when the file cannot be read or holds none of the document's sections;
  // missing keys take their defaults. It ends with UpdateGraph and DrawFunctions.
  void SaveToFile();
  void LoadFromFile();
  // Every section of the document written into, or read from, an INI text, with no file and no
  // drawing. Reading raises KurvoError, and changes nothing, when the text holds none of the
  // document's sections.
  void WriteDocument(IniFile& ini) const;
  void ReadDocument(const IniFile& ini);
  // What the graph holds, its labels as they stand.
  GraphModel Model() const;
  // Takes the whole model: labels made anew from its records, its legend shown, parameters
  // told. Draws nothing else; the caller refreshes.
  void setModel(const GraphModel& source);
  // Shows the model exactly as it is (a state of the undo history): unlike a document loaded,
  // the axes keep their flags where their lines lie outside the plot, as exploring leaves them,
  // and the tick intervals the program chose stay chosen. Draws the curves at once.
  void RestoreModel(const GraphModel& state);
  // Tells the graph that a label was edited or deleted past its own setters (the label's
  // dialog, the trash), so that Edited follows.
  void LabelChanged() { emit Edited(); }
  // Whether the graph differs from the state last loaded, saved or marked: anything a document
  // holds counts (formulas, pens, range, margins, axes, brush, labels, AutoRedraw, parameters),
  // GraphName does not.
  // Both document operations mark the graph unchanged when they succeed. A graph records no
  // state when it is made, so its owner calls MarkUnchanged after construction and after
  // ResetGraph.
  bool IsChanged() const;
  void MarkUnchanged();

  void UpdateGraph();
  void ResetGraph();
  // Gives the axis (this graph's XAxis or YAxis) the 1, 2 or 5 x 10^k tick period that puts
  // its ticks about 60-100 pixels apart with room for every value, then refreshes. A period
  // chosen so, or by a zoom that spaced crowded ticks out, is chosen again for every range set
  // through XMin, XMax, YMin and YMax, until a period is set with setTickPeriod, or the graph is
  // new or loaded.
  void FitTickPeriod(TAxis& axis);
  // The period the user gave the axis; it stays whatever range follows. Refreshes.
  void setTickPeriod(TAxis& axis, long double period);
  // Draws every used slot into a new curve layer, with the calculus marks (areas under the
  // curves, derivative curves and tangents over them); true when no slot ended with an error.
  bool DrawFunctions();
  // The calculus marks on the mapping (Mapping or DeviceMapping), evaluated through the engine
  // on copies of the slots.
  CalculusMarks CalculusShapes(const GraphMapping& on) const;
  // The regions of the inequalities, in a tint of each slot's colour, on the mapping within
  // the picture; painted under every curve.
  std::vector<CalculusFill> RegionFills(const GraphMapping& on, const QRectF& picture) const;
  GraphCalculus& Calculus() { return model.calculus; }
  // Takes the calculus marks and redraws the curves at once.
  void setCalculus(const GraphCalculus& calculus);
  // While on, a drag with Shift held selects a span of x (SpanSelected) instead of panning.
  void setSpanSelection(bool on) { spanSelection = on; }
  void FitYRange();
  // Shows the range as exploring does (the view menu): the axes keep their flags, crowded ticks
  // are spaced out, and the curves are drawn at once.
  void ShowRange(const GraphRange& view);
  void CopyToClipboard();
  // The picture as painted: the background layer with the curve layer ANDed over it.
  QImage Picture() const;
  // The picture with the text of every visible label drawn on the back brush at its place, in
  // the order the labels were created: what CopyToClipboard places on the clipboard.
  QImage ClipboardPicture() const;

  std::int32_t XToPixel(long double x) const { return mapping.xToPixel(x); }
  std::int32_t YToPixel(long double y) const { return mapping.yToPixel(y); }
  long double PixelToX(std::int32_t column) const { return mapping.pixelToX(column); }
  long double PixelToY(std::int32_t row) const { return mapping.pixelToY(row); }
  bool InGraphRange(long double x, long double y) const { return mapping.inGraphRange(x, y); }
  const GraphMapping& Mapping() const { return mapping; }
  // The mapping the layers are drawn on: Mapping in device pixels.
  const GraphMapping& DeviceMapping() const { return deviceMapping; }
  // The device pixel ratio the layers are drawn at: the one set here when positive, otherwise
  // the widget's own (devicePixelRatioF), so that tools and tests can draw for a screen they do
  // not have. Setting another one redraws the background, and the curves when they are shown.
  qreal RenderScale() const;
  void setRenderScale(qreal ratio);
  const QImage* BackLayer() const { return backLayer.get(); }
  const QImage* CurveLayer() const { return curveLayer.get(); }

signals:
  // The range changed, by whatever path: a property, the mouse, a new graph or a document.
  void RangeChanged();
  // A DrawFunctions ended, whole or cut short by a newer drawing.
  void CurvesDrawn();
  // Parameter rows were added or removed, or all of them cleared.
  void ParametersChanged();
  // A left click on the graph itself that did not pan, at that client point.
  void Clicked(QPointF at);
  // A drag with Shift held from one x to another, while span selection is on.
  void SpanSelected(long double from, long double to);
  // Something a document holds may have changed: told by every setter and by the mouse, often
  // more than once for one change and also for none (a resize), so a listener compares.
  void Edited();

protected:
  // A move to a screen of another ratio redraws as setRenderScale does.
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  // The wheel zooms about the pointer: both ranges, with Shift only X, with Ctrl only Y.
  void wheelEvent(QWheelEvent* event) override;
  // A left-button drag on the graph itself (not on a label) pans the view.
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

private:
  // A left press arms the pan; it starts once the pointer has moved the drag distance, and
  // every step moves the view from where it stood at the press.
  struct Pan {
    bool armed = false;
    bool active = false;
    bool span = false; // selecting a span of x rather than moving the view
    QPointF press;
    GraphMapping start;
  };

  TFormula& slot(int index);
  // The label records of the visible labels; a hidden label is one the user deleted.
  GraphLabels labelRecords() const;
  // Makes the logical mapping and the device mapping for the range, margins and size, and puts
  // the pinned labels on their points.
  void remap();
  void placePinnedLabels();
  // A white layer of the client's size in device pixels, carrying the ratio.
  QImage deviceLayer() const;
  // Redraws for a ratio that differs from the one the layers were drawn at.
  void followRatio();
  // Draws the background layer for the current mapping (the caller has just made it), the axes
  // as their flags and the plot allow.
  void drawBackground();
  // Tells RangeChanged when the range differs from the one last told.
  void noteRange();
  // A range chosen with the mouse: the axes keep their flags, crowded ticks are spaced out
  // when zooming, and the curves are drawn at once.
  void explore(const GraphRange& view, bool zooming);
  bool ticksUnfit(const TAxis& axis) const;
  // Refreshes for a range set through a property, the chosen periods following it.
  void followRange();
  // Whether the program chose the axis's period (by FitTickPeriod or a zoom).
  bool& periodChosen(const TAxis& axis);
  long double fittedPeriod(const TAxis& axis) const;
  void DrawFunction(int number, QImage& layer);
  static void paintMarks(QImage& layer, const CalculusMarks& marks,
                         void (*paint)(const CalculusMarks&, QPainter&));
  // False when the slot has no finite sample.
  bool GetFunctionRange(int number, long double& max, long double& min);
  void discardCurves();
  // Lets pending messages run; false when the curve layer of this redraw was replaced or
  // discarded meanwhile, so that nothing is drawn into a layer that is gone.
  bool processPendingMessages(std::uint64_t redraw);
  template <class T> void refresh(T& field, const T& value);
  void initAutoRedraw();
  // Asks for one redraw when AutoRedraw is on.
  void scheduleRedraw();
  void autoRedrawNow();
  // Marks a DrawFunctions in progress: an automatic redraw that falls due meanwhile waits for
  // its end instead of starting inside its message pumping.
  class DrawingScope {
  public:
    explicit DrawingScope(TFuncGraph& graph);
    ~DrawingScope();

  private:
    TFuncGraph& graph;
    bool outer;
  };
  // A new visible label in the empty slot 1..16, with that Tag; the caller sets the rest.
  TGraphLabel* newLabel(int slot);
  // Lays the legend out and draws its box anew, for the model, the mapping and the ratio.
  void refreshLegend();
  // The legend's part of the mouse: each is true when it took the event.
  bool pressLegend(const QMouseEvent* event);
  bool moveLegend(const QMouseEvent* event);
  bool releaseLegend(const QMouseEvent* event);
  // The move cursor over the legend, the hand of panning elsewhere.
  void showPointer(QPointF pos);
  // Destroys the label of the slot, if any, and empties it.
  void destroyLabel(int slot);
  void discoverParameters(const TFormula& formula);
  // After a change of a slot's kind or texts: its parameters, the legend and the curves follow.
  void formulaChanged(int index);
  void setParameterIntoEngine(int index);
  void setParametersIntoEngine();

  TEvalon* evalon = nullptr;
  // Its labels stand in the label widgets; Model() takes them from there.
  GraphModel model = GraphModel::NewGraph();
  GraphMapping mapping;
  GraphMapping deviceMapping;
  qreal renderScale = 0; // not positive: the widget's own ratio
  std::unique_ptr<QImage> backLayer;
  std::unique_ptr<QImage> curveLayer;
  // Owned as child widgets; a slot is null when empty.
  std::array<TGraphLabel*, LabelCount> FLabels{};
  QString graphName;
  QByteArray unchangedState;
  GraphRange toldRange;
  Pan pan;
  // As a pan: armed by a press on the box, started at the drag distance.
  struct LegendDrag {
    bool armed = false;
    bool active = false;
    QPointF press;
    QPoint start; // the box's top-left corner at the press, device pixels
  };
  LegendBox legendBox;  // in device pixels
  QImage legendPicture; // the box drawn, carrying the ratio; null when none shows
  QPoint legendAt;      // its top-left corner in device pixels
  LegendDrag legendDrag;
  // Counts the curve layers made or discarded; a redraw checks it after letting messages run.
  std::uint64_t curveGeneration = 0;
  QTimer redrawTimer;
  bool curvesStale = true;
  std::array<bool, 2> chosenPeriods{}; // of the X and the Y axis
  bool drawing = false;
  bool redrawDeferred = false;
  bool spanSelection = false;
};
