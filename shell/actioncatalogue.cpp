#include "shell/actioncatalogue.h"

#include "engine/widgets/designer/designeractions.h"

#include <QCoreApplication>
#include <QHash>

namespace Orv {

QString Command::action(DesignerAction::Code code)
{
    return QStringLiteral("action:") + QString::number(int(code));
}

QString Command::insert(const QString &typeId)
{
    return QStringLiteral("insert:") + typeId;
}

QString Command::viewer(const QString &key)
{
    return QStringLiteral("viewer:") + key;
}

std::optional<DesignerAction::Code> Command::actionCode(const QString &command)
{
    if (!command.startsWith(QLatin1String("action:")))
        return std::nullopt;
    bool ok = false;
    const int code = command.mid(7).toInt(&ok);
    if (!ok || !DesignerAction::isCode(code))
        return std::nullopt;
    return DesignerAction::Code(code);
}

namespace {

using namespace Command;
using namespace DesignerAction;

MenuEntry item(const char *name, const char *caption, const QString &command = QString())
{
    return {QString::fromLatin1(name), QString::fromUtf8(caption), command, {}};
}

MenuEntry submenu(const char *name, const char *caption, QList<MenuEntry> children)
{
    return {QString::fromLatin1(name), QString::fromUtf8(caption), QString(), std::move(children)};
}

MenuEntry separator()
{
    return {};
}

QString ins(const char *typeId)
{
    return insert(QString::fromLatin1(typeId));
}

QList<MenuInfo> buildMenus()
{
    const auto a = [](Code code) { return action(code); };
    return {
        {QStringLiteral("mnuFile"), QStringLiteral("文件[&F]"),
         {submenu("miFNew", "新建[&N]",
                  {item("miFNBlankReport", "空报表[&B]", FileNewBlank),
                   item("miFNReportWizard", "报表向导...[&R]", FileNewWizard),
                   item("miFNImportAccessReport", "导入Access报表...[&I]", FileImportAccess)}),
          item("miFOpen", "打开...[&O]", FileOpen), item("miFSave", "保存[&S]", FileSave),
          item("miFSaveAs", "另存为...", FileSaveAs), separator(), item("miFExport", "输出", FileExport),
          item("miFPrint", "打印[&P]", FilePrint), item("miFPrintPreview", "预览", ViewPreview),
          item("miFPrinterSetup", "打印设置...", FilePrinterSetup), separator(),
          item("miFReportProperties", "报表属性", FileReportProperties), separator(),
          item("miFExit", "关闭", FileExit)}},
        {QStringLiteral("mnuEdit"), QStringLiteral("编辑[&E]"),
         {item("miEUndo", "撤销[&U]", a(Undo)), item("miERedo", "重做[&R]", EditRedo), separator(), item("miECut", "剪切", a(Cut)),
          item("miECopy", "复制[&C]", a(Copy)), item("miECopyPage", "复制页"), item("miEPaste", "粘贴[&P]", a(Paste)),
          item("miEDelete", "删除[&D]", a(Delete)), item("miEDeleteSection", "删除扇区", a(DeleteSection)),
          item("miESelectAll", "全选[&A]", EditSelectAll), separator(),
          item("miEFind", "查找...[&F]"), item("miEReorderGroups", "记录分组...", a(ReorderGroups)), separator(),
          item("miEProperties", "属性...[&P]"), item("miEOptions", "选项...[&O]", EditOptions)}},
        {QStringLiteral("mnuView"), QStringLiteral("视图[&V]"),
         {item("miVDesignView", "设置视图[&D]", ViewDesign), item("miVPrintPreview", "打印预览", ViewPreview),
          separator(), item("miVPropertiesList", "属性列表[&L]", ViewPropertyList),
          item("miVDataSource", "数据源", ViewDataSource), item("miVFieldList", "字段列表[&F]", ViewFieldList),
          item("miVSortingAndGrouping", "排序与分组[&S]", ViewSortingAndGrouping),
          item("miVEditor", "代码编辑[&E]", a(ScriptEditor)), separator(), item("miVFullScreen", "满屏[&S]", a(FullScreen)),
          item("miVGrid", "显示网格[&G]", ViewGrid),
          submenu("miVToolbars", "工具条[&T]",
                  {item("miVTStandard", "基本[&S]", ViewStandardBar), item("miVTFormat", "格式化[&F]", ViewFormatBar),
                   item("miVTToolbox", "工具箱[&T]", ViewToolbox)}),
          separator(), item("miVRuler", "标尺", ViewRuler), item("miVTOC", "目录表", ViewToc), separator(),
          item("miVStatusBar", "状态条[&S]", ViewStatusBar)}},
        {QStringLiteral("mnuInsert"), QStringLiteral("插入[&I]"),
         {item("miIReportHF", "报表头/脚[&R]", a(InsertReportHF)), item("miIPageHF", "报表页头/脚[&P]", a(InsertPageHF)),
          item("miIGroupHF", "分组头/脚[&G]", a(InsertGroupHF)), separator(),
          item("miILabel", "标签[&L]", ins("OrvEngine.Label")), item("miITextbox", "文本框[&T]", ins("OrvEngine.Field")),
          item("miICheckbox", "复选框[&C]", ins("OrvEngine.Checkbox")),
          item("miIBarcode", "条形码[&B]", ins("OrvEngine.BarCode")), item("miILine", "线条[&L]", ins("OrvEngine.Line")),
          item("miIShape", "形状[&S]", ins("OrvEngine.Shape")), item("miIImage", "图像[&I]", ins("OrvEngine.Image")),
          item("miIRichtext", "富文本框[&R]", ins("OrvEngine.RichEdit")),
          item("miIFrame", "框架[&F]", ins("OrvEngine.Frame")),
          item("miISubreport", "子报表[&S]", ins("OrvEngine.Subreport")),
          item("miIPageBreak", "页终止[&P]", ins("OrvEngine.PageBreak")),
          item("miIOLEObject", "OLE对象[&O]", ins("OrvEngine.OLE")), item("miIChart", "图表[&H]", ins("OrvEngine.Chart")),
          item("miICustom", "自定义[&C]"), separator(),
          item("miICalculatedField", "计算字段[&C]", InsertCalculatedField), item("miISummaryField", "合计字段[&S]"),
          item("miIDateTime", "日期时间[&D]"), item("miIPageNumbers", "页码[&P]")}},
        {QStringLiteral("mnuFormat"), QStringLiteral("格式[&F]"),
         {submenu("miFoAlign", "对齐[&A]",
                  {item("miFoALefts", "左对齐[&L]", a(AlignLefts)), item("miFoACenters", "居中[&C]", a(AlignCenters)),
                   item("miFoARights", "右对齐[&R]", a(AlignRights)), item("miFoATops", "顶端对齐[&T]", a(AlignTops)),
                   item("miFoAMiddles", "中间对齐[&M]", a(AlignMiddles)), item("miFoABottoms", "底端对齐[&B]", a(AlignBottoms)),
                   item("miFoAToGrid", "对齐到网格[&G]", a(AlignToGrid))}),
          submenu("miFoSize", "尺寸[&S]",
                  {item("miFoSWidth", "宽度相同[&W]", a(SameWidth)), item("miFoSHeight", "高度相同[&H]", a(SameHeight)),
                   item("miFoSBoth", "两者相同[&B]", a(SameSize))}),
          submenu("miFoHSpacing", "水平间距[&H]",
                  {item("miFoHSEqual", "相等[&E]", a(SpaceHEven)), item("miFoHSIncrease", "递增[&I]", a(IncHSpace)),
                   item("miFoHSDecrease", "递减[&D]", a(DecHSpace))}),
          submenu("miFoVSpacing", "垂直间距[&V]",
                  {item("miFoVSEqual", "相等[&E]", a(SpaceVEven)), item("miFoVSIncrease", "递增[&I]", a(IncVSpace)),
                   item("miFoVSDecrease", "递减[&D]", a(DecVSpace))}),
          separator(), item("miFoBringToFront", "置前[&F]", a(BringToFront)), item("miFoSendToBack", "置后[&B]", a(SendToBack)),
          separator(), item("miFoLockControls", "锁定控件[&L]", a(Lock))}},
        {QStringLiteral("mnuTest"), QStringLiteral("测试[&T]"),
         {item("miTeCreateDynamicControls", "建立动态控件[&C]", TestDynamicControls),
          item("miTeLoadByteArray", "以二进制装入报表[&L]", TestLoadByteArray), item("miTGetFieldsList", "获得字段列表[&G]")}},
        {QStringLiteral("mnuHelp"), QStringLiteral("帮助[&H]"), {item("miHAbout", "关于[&A]", HelpAbout)}},
        {QStringLiteral("mnuContext"), QStringLiteral("上下文菜单[&C]"),
         {submenu("mnuCControl", "控件",
                  {item("miCCCut", "剪切[&C]", a(Cut)), item("miCCCopy", "复制[&C]", a(Copy)),
                   item("miCCPaste", "粘贴[&P]", a(Paste)), item("miCCDelete", "删除[&D]", a(Delete)), separator(),
                   item("miCCProperties", "属性[&R]", ObjectProperties)}),
          submenu("mnuCSection", "扇区",
                  {item("miCSPaste", "粘贴[&P]", a(Paste)),
                   submenu("miCSInsert", "插入[&I]",
                           {item("miCSIReportHF", "报表头/脚[&R]", a(InsertReportHF)), item("miCSIPageHF", "报表页头/脚[&P]", a(InsertPageHF)),
                            item("miCSIGroupHF", "分组头/脚[&G]", a(InsertGroupHF))}),
                   item("miCSDelete", "删除[&D]", a(DeleteSection)), item("miCSReorderGroups", "记录分组[&R]", a(ReorderGroups)), separator(),
                   item("miCSProperties", "属性[&P]", ObjectProperties)}),
          submenu("mnuCReport", "报表[&R]", {item("miCRProperties", "属性[&P]", FileReportProperties)}),
          submenu("mnuCRichEdit", "富编辑框[&E]",
                  {item("miCReCut", "剪切[&U]", a(Cut)), item("miCReCopy", "复制[&C]", a(Copy)),
                   item("miCRePaste", "粘贴[&P]", a(Paste)), item("miCReDelete", "删除[&D]", a(Delete)),
                   item("miCReSelectAll", "全选[&A]"), item("miCReMergeField", "合并字段[&F]", a(InsertField)), separator(),
                   item("miCReProperties", "属性[&P]", ObjectProperties)}),
          submenu("mnuCFrameControl", "框架控件[&F]",
                  {item("miCFCut", "剪切[&U]", a(Cut)), item("miCFCopy", "复制[&C]", a(Copy)),
                   item("miCFPaste", "粘贴[&P]", a(Paste)), item("miCFDelete", "删除[&D]", a(Delete)), item("miCFVSplit", "垂直分开[&V]"), item("miCFHSplit", "水平分开[&H]"),
                   item("miCFPaneProperties", "窗格属性...[&P]"), separator(),
                   item("miCFProperties", "属性...[&P]", ObjectProperties)})}},
    };
}

ToolButtonInfo button(const char *key, const char *tip, const QString &command = QString(), Code tag = None)
{
    return {QString::fromLatin1(key), QString::fromUtf8(tip), command, tag};
}

// A format or align button whose Tag carries its action.
ToolButtonInfo tagged(const char *key, const char *tip, Code tag)
{
    return button(key, tip, action(tag), tag);
}

ToolButtonInfo gap()
{
    return {};
}

ToolButtonInfo vu(const char *key, const char *tip)
{
    return button(key, tip, viewer(QString::fromLatin1(key)));
}

QList<ToolBarInfo> buildBars()
{
    const auto a = [](Code code) { return action(code); };
    return {
        {QStringLiteral("tbStandard"), QStringLiteral("基本"),
         {button("tFNewReport", "新报表", FileNewBlank), button("tFNewReportWizard", "报表向导", FileNewWizard),
          button("tFAccessImport", "导入Access报表", FileImportAccess), gap(), button("tFOpen", "打开", FileOpen),
          button("tFSave", "保存", FileSave), button("tFSaveAs", "另存为", FileSaveAs), gap(),
          button("tFPrintSetup", "打印设置", FilePrinterSetup), button("tFPrint", "打印", FilePrint), gap(),
          button("tEUndo", "取消", a(Undo)), button("tECut", "剪切", a(Cut)), button("tECopy", "复制", a(Copy)),
          button("tEPaste", "粘贴", a(Paste)), button("tEDelete", "删除", a(Delete)), gap(),
          button("tEReorderGroups", "记录分组", a(ReorderGroups))}},
        {QStringLiteral("tbFormat"), QStringLiteral("格式化"),
         {button("tfoFont", "字体"), tagged("tFoBold", "加粗", Bold), tagged("tFoItalic", "斜体", Italic),
          tagged("tFoUnderline", "下划线", Underline), button("tFoFontDialog", "字体设置", FormatFontDialog), gap(),
          tagged("tFoAlignLeft", "左对齐", AlignLeft), tagged("tFoAlignCenter", "居中", AlignCenter),
          tagged("tFoAlignRight", "右对齐", AlignRight), gap(), tagged("tFoBullets", "项目符号", Bullet),
          tagged("tFoOutdent", "减少缩进量", Outdent), tagged("tFoIndent", "增加缩进量", Indent), gap(),
          button("tFoBackColor", "背景色", FormatBackColor), button("tFoForeColor", "前景色", FormatForeColor),
          button("tFoLineColor", "线条颜色", FormatLineColor), button("tFoLineStyle", "线条样式", a(LineStyle)), button("tFoBorder", "边框", a(DesignerAction::Border))}},
        {QStringLiteral("tbAlign"), QStringLiteral("对齐"),
         {tagged("tFoBringToFront", "置前", BringToFront), tagged("tFoSendToBack", "置后", SendToBack), gap(),
          tagged("tFoALefts", "左对齐", AlignLefts), tagged("tFoACenters", "居中", AlignCenters), tagged("tFoARights", "右对齐", AlignRights),
          tagged("tFoATops", "置顶", AlignTops), tagged("tFoAMiddles", "垂直居中", AlignMiddles), tagged("tFoABottoms", "置底", AlignBottoms),
          tagged("tFoAToGrid", "对齐到网格", AlignToGrid), gap(), tagged("tFoSWidths", "统一宽度", SameWidth),
          tagged("tFoSHeights", "统一高度", SameHeight), tagged("tFoSBoth", "统一宽高", SameSize), gap(),
          tagged("tFoLockControls", "锁定控件", Lock)}},
        {QStringLiteral("tbToolbox"), QStringLiteral("工具箱"),
         {button("tbxSelect", "选择", insert(QString())), button("tbxLabel", "标签", ins("OrvEngine.Label")),
          button("tbxField", "字段", ins("OrvEngine.Field")), button("tbxCheckbox", "复选框", ins("OrvEngine.Checkbox")),
          button("tbxImage", "图像", ins("OrvEngine.Image")), button("tbxLine", "线条", ins("OrvEngine.Line")),
          button("tbxShape", "形状", ins("OrvEngine.Shape")), button("tbxRichedit", "Rich文本框", ins("OrvEngine.RichEdit")),
          button("tbxFrame", "框架", ins("OrvEngine.Frame")), button("tbxSubreport", "子报表", ins("OrvEngine.Subreport")),
          button("tbxPageBreak", "断页", ins("OrvEngine.PageBreak")), button("tbxOLE", "OLE 对象", ins("OrvEngine.OLE")),
          button("tbxBarcode", "条形码", ins("OrvEngine.Barcode")), button("tbxChart", "图表", ins("OrvEngine.Chart")), button("tbxCalculatedField", "计算字段"),
          button("tbxSummaryField", "合计字段"), button("tbxDateTime", "日期时间"),
          button("tbxPagenumber", "页码", InsertPageNumbers)}},
        {QStringLiteral("tbView"), QStringLiteral("视图"),
         {button("tVDesign", "报表设计", ViewDesign), button("tVPreview", "报表预览", ViewPreview),
          button("tVFullScreen", "全屏", a(FullScreen)), gap(), button("tVPropertiesList", "属性窗口", ViewPropertyList),
          button("tVToolbox", "工具箱", ViewToolbox), button("tVFieldsList", "字段列表", ViewFieldList),
          button("tVSortingAndGrouping", "排序和分组选项", ViewSortingAndGrouping),
          button("tVCodeEditor", "脚本编辑", a(ScriptEditor)), gap(), button("tVStatusBar", "状态栏", ViewStatusBar),
          button("tVGrid", "网格", ViewGrid)}},
        {QStringLiteral("tbViewer"), QStringLiteral("预览"),
         {button("tvuOpen", "打开", FileOpen), button("tvuSave", "保存", FileSave), vu("tvuExport", "输出"),
          vu("tvuPrint", "打印"), gap(), vu("tvuTOC", "目录"), vu("tvuRuler", "显示标尺"), gap(), vu("tvuFind", "查找"),
          vu("tvuCopyPage", "复制"), gap(), vu("tvuSinglePage", "单页"), vu("tvuMultiPage", "多页"), gap(),
          vu("tvuZoomIn", "放大"), vu("tvuZoom", "缩放"), vu("tvuZoomOut", "缩小"), gap(), vu("tvuPageFirst", "首页"),
          vu("tvuPageUp", "上一页"), vu("tvuPageNumber", "页码"), vu("tvuPageDown", "下一页"), vu("tvuPageLast", "末页"),
          gap(), vu("tvuBack", "后退"), vu("tvuForward", "前进"), gap(), vu("tvuOptions", "选项")}},
    };
}

QHash<QString, CommandInfo> buildCommands()
{
    QHash<QString, CommandInfo> out;
    const auto add = [&out](const QString &command, const char *icon, const QKeySequence &keys = {},
                            bool checkable = false) {
        out.insert(command, {command, QString::fromLatin1(icon), keys, checkable});
    };
    add(FileNewBlank, "document-new", QKeySequence::New);
    add(FileNewWizard, "tools-wizard");
    add(FileImportAccess, "document-import");
    add(FileOpen, "document-open", QKeySequence::Open);
    add(FileSave, "document-save", QKeySequence::Save);
    add(FileSaveAs, "document-save-as", QKeySequence(QStringLiteral("Ctrl+Shift+S")));
    add(FileExport, "document-send", QKeySequence(QStringLiteral("Ctrl+E")));
    add(FilePrint, "document-print", QKeySequence::Print);
    add(FilePrinterSetup, "document-page-setup");
    add(FileReportProperties, "document-properties");
    add(FileExit, "application-exit", QKeySequence(QStringLiteral("Ctrl+Q")));
    add(ViewDesign, "document-edit", QKeySequence(QStringLiteral("Shift+F5")), true);
    add(ViewPreview, "document-print-preview", QKeySequence(QStringLiteral("F5")), true);
    add(ViewPropertyList, "document-properties", QKeySequence(QStringLiteral("F4")), true);
    add(ViewGrid, "view-grid", {}, true);
    add(ViewStandardBar, "", {}, true);
    add(ViewFormatBar, "", {}, true);
    add(ViewToolbox, "applications-engineering", {}, true);
    add(ViewRuler, "", {}, true);
    add(ViewToc, "view-list", {}, true);
    add(ViewStatusBar, "", {}, true);
    add(ViewSortingAndGrouping, "view-sort-ascending");
    add(ViewFieldList, "view-list-bullet");
    add(ViewDataSource, "network-server");
    add(HelpAbout, "help-about");
    add(action(Undo), "edit-undo", QKeySequence::Undo);
    add(EditRedo, "edit-redo", QKeySequence(QStringLiteral("Ctrl+Y")));
    add(EditSelectAll, "edit-select-all", QKeySequence::SelectAll);
    add(FormatFontDialog, "preferences-desktop-font");
    add(FormatBackColor, "orv:backcolor");
    add(FormatForeColor, "orv:forecolor");
    add(FormatLineColor, "orv:linecolor");
    add(action(LineStyle), "orv:linestyle");
    add(action(DesignerAction::Border), "orv:border");
    add(action(AlignLefts), "orv:align-lefts");
    add(action(AlignRights), "orv:align-rights");
    add(action(AlignCenters), "orv:align-centers");
    add(action(AlignTops), "orv:align-tops");
    add(action(AlignMiddles), "orv:align-middles");
    add(action(AlignBottoms), "orv:align-bottoms");
    add(action(AlignToGrid), "orv:align-grid");
    add(action(SameWidth), "orv:same-width");
    add(action(SameHeight), "orv:same-height");
    add(action(SameSize), "orv:same-size");
    add(action(BringToFront), "orv:to-front");
    add(action(SendToBack), "orv:to-back");
    add(action(InsertReportHF), "orv:report-hf");
    add(action(InsertPageHF), "orv:page-hf");
    add(action(InsertGroupHF), "orv:group-hf");
    add(action(ReorderGroups), "orv:reorder-groups");
    add(insert(QString()), "orv:select");
    add(ins("OrvEngine.Label"), "orv:label");
    add(ins("OrvEngine.Field"), "orv:field");
    add(ins("OrvEngine.Checkbox"), "orv:checkbox");
    add(ins("OrvEngine.Image"), "orv:image");
    add(ins("OrvEngine.Line"), "orv:line");
    add(ins("OrvEngine.Shape"), "orv:shape");
    add(ins("OrvEngine.RichEdit"), "orv:richedit");
    add(ins("OrvEngine.Frame"), "orv:frame");
    add(ins("OrvEngine.Subreport"), "orv:subreport");
    add(ins("OrvEngine.PageBreak"), "orv:pagebreak");
    add(ins("OrvEngine.OLE"), "orv:ole");
    add(ins("OrvEngine.Barcode"), "orv:barcode");
    add(ins("OrvEngine.BarCode"), "orv:barcode");
    add(ins("OrvEngine.Chart"), "orv:chart");
    add(InsertPageNumbers, "orv:pagenumber");
    add(action(Cut), "edit-cut", QKeySequence::Cut);
    add(action(Copy), "edit-copy", QKeySequence::Copy);
    add(action(Paste), "edit-paste", QKeySequence::Paste);
    add(action(Delete), "edit-delete", QKeySequence::Delete);
    add(action(FullScreen), "view-fullscreen", QKeySequence(QStringLiteral("F11")), true);
    add(action(ScriptEditor), "text-editor", QKeySequence(QStringLiteral("Alt+F11")));
    add(action(Bold), "format-text-bold", {}, true);
    add(action(Italic), "format-text-italic", {}, true);
    add(action(Underline), "format-text-underline", {}, true);
    add(action(AlignLeft), "format-justify-left", {}, true);
    add(action(AlignCenter), "format-justify-center", {}, true);
    add(action(AlignRight), "format-justify-right", {}, true);
    add(action(Bullet), "view-list-bullet", {}, true);
    add(action(Indent), "format-indent-more");
    add(action(Outdent), "format-indent-less");
    add(action(Lock), "changes-prevent", {}, true);
    add(viewer(QStringLiteral("tvuExport")), "document-send");
    add(viewer(QStringLiteral("tvuPrint")), "document-print");
    add(viewer(QStringLiteral("tvuTOC")), "view-list", {}, true);
    add(viewer(QStringLiteral("tvuRuler")), "", {}, true);
    add(viewer(QStringLiteral("tvuFind")), "edit-find", QKeySequence::Find);
    add(viewer(QStringLiteral("tvuCopyPage")), "edit-copy");
    add(viewer(QStringLiteral("tvuSinglePage")), "view-paged", {}, true);
    add(viewer(QStringLiteral("tvuMultiPage")), "view-dual", {}, true);
    add(viewer(QStringLiteral("tvuZoomIn")), "zoom-in", QKeySequence::ZoomIn);
    add(viewer(QStringLiteral("tvuZoomOut")), "zoom-out", QKeySequence::ZoomOut);
    add(viewer(QStringLiteral("tvuPageFirst")), "go-first", QKeySequence(Qt::CTRL | Qt::Key_Home));
    add(viewer(QStringLiteral("tvuPageUp")), "go-up", QKeySequence(Qt::Key_PageUp));
    add(viewer(QStringLiteral("tvuPageDown")), "go-down", QKeySequence(Qt::Key_PageDown));
    add(viewer(QStringLiteral("tvuPageLast")), "go-last", QKeySequence(Qt::CTRL | Qt::Key_End));
    add(viewer(QStringLiteral("tvuBack")), "go-previous", QKeySequence::Back);
    add(viewer(QStringLiteral("tvuForward")), "go-next", QKeySequence::Forward);
    return out;
}

} // namespace

QString ActionCatalogue::actionName(DesignerAction::Code code)
{
    return DesignerAction::name(code);
}

const QList<MenuInfo> &ActionCatalogue::menus()
{
    static const QList<MenuInfo> menus = buildMenus();
    return menus;
}

const QList<ToolBarInfo> &ActionCatalogue::toolBars()
{
    static const QList<ToolBarInfo> bars = buildBars();
    return bars;
}

const MenuInfo *ActionCatalogue::menu(const QString &name)
{
    for (const MenuInfo &m : menus()) {
        if (m.name == name)
            return &m;
    }
    return nullptr;
}

const ToolBarInfo *ActionCatalogue::toolBar(const QString &name)
{
    for (const ToolBarInfo &b : toolBars()) {
        if (b.name == name)
            return &b;
    }
    return nullptr;
}

CommandInfo ActionCatalogue::command(const QString &command)
{
    static const QHash<QString, CommandInfo> commands = buildCommands();
    return commands.value(command, CommandInfo{command, QString(), {}, false});
}

namespace {

void collect(const QList<MenuEntry> &entries, const QString &command, QStringList *out)
{
    for (const MenuEntry &e : entries) {
        if (!e.command.isEmpty() && e.command == command)
            out->append(e.name);
        collect(e.children, command, out);
    }
}

} // namespace

QStringList ActionCatalogue::sources(const QString &command)
{
    QStringList out;
    for (const MenuInfo &m : menus())
        collect(m.items, command, &out);
    for (const ToolBarInfo &b : toolBars()) {
        for (const ToolButtonInfo &button : b.buttons) {
            if (!button.key.isEmpty() && button.command == command)
                out.append(button.key);
        }
    }
    return out;
}

QString ActionCatalogue::translated(const QString &name, const QString &sourceText)
{
    return QCoreApplication::translate(name.toLatin1().constData(), sourceText.toUtf8().constData());
}

} // namespace Orv
