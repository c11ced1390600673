<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>Orv::DesignerWindow</name>
    <message>
        <source>Added %1</source>
        <translation>Added %1</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>&amp;Open...</translation>
    </message>
    <message>
        <source>Open Layout</source>
        <translation>Open Layout</translation>
    </message>
    <message>
        <source>Layouts (*.rpx);;All files (*)</source>
        <translation>Layouts (*.rpx);;All files (*)</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>Save &amp;As...</translation>
    </message>
    <message>
        <source>&amp;Preview</source>
        <translation>&amp;Preview</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Edit</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Redo</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>Cu&amp;t</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copy</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>Delete &amp;Section</source>
        <translation>Delete &amp;Section</translation>
    </message>
    <message>
        <source>&amp;Reorder Groups...</source>
        <translation>&amp;Reorder Groups...</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>Show &amp;Grid</source>
        <translation>Show &amp;Grid</translation>
    </message>
    <message>
        <source>&amp;Snap to Grid</source>
        <translation>&amp;Snap to Grid</translation>
    </message>
    <message>
        <source>Zoom &amp;In</source>
        <translation>Zoom &amp;In</translation>
    </message>
    <message>
        <source>Zoom &amp;Out</source>
        <translation>Zoom &amp;Out</translation>
    </message>
    <message>
        <source>&amp;Actual Size</source>
        <translation>&amp;Actual Size</translation>
    </message>
    <message>
        <source>&amp;Insert</source>
        <translation>&amp;Insert</translation>
    </message>
    <message>
        <source>&amp;Report Header/Footer</source>
        <translation>&amp;Report Header/Footer</translation>
    </message>
    <message>
        <source>&amp;Page Header/Footer</source>
        <translation>&amp;Page Header/Footer</translation>
    </message>
    <message>
        <source>&amp;Group Header/Footer</source>
        <translation>&amp;Group Header/Footer</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>Select</translation>
    </message>
    <message>
        <source>F&amp;ormat</source>
        <translation>F&amp;ormat</translation>
    </message>
    <message>
        <source>&amp;Align</source>
        <translation>&amp;Align</translation>
    </message>
    <message>
        <source>Align Rights</source>
        <translation>Align Rights</translation>
    </message>
    <message>
        <source>&amp;Size</source>
        <translation>&amp;Size</translation>
    </message>
    <message>
        <source>&amp;Horizontal Spacing</source>
        <translation>&amp;Horizontal Spacing</translation>
    </message>
    <message>
        <source>&amp;Vertical Spacing</source>
        <translation>&amp;Vertical Spacing</translation>
    </message>
    <message>
        <source>Bring to &amp;Front</source>
        <translation>Bring to &amp;Front</translation>
    </message>
    <message>
        <source>Send to &amp;Back</source>
        <translation>Send to &amp;Back</translation>
    </message>
    <message>
        <source>&amp;Lock Controls</source>
        <translation>&amp;Lock Controls</translation>
    </message>
    <message>
        <source>St&amp;yle...</source>
        <translation>St&amp;yle...</translation>
    </message>
    <message>
        <source>&amp;Font...</source>
        <translation>&amp;Font...</translation>
    </message>
    <message>
        <source>Font Si&amp;ze...</source>
        <translation>Font Si&amp;ze...</translation>
    </message>
    <message>
        <source>Fore Colour...</source>
        <translation>Fore Colour...</translation>
    </message>
    <message>
        <source>Back Colour...</source>
        <translation>Back Colour...</translation>
    </message>
    <message>
        <source>Line Colour...</source>
        <translation>Line Colour...</translation>
    </message>
    <message>
        <source>Line Style...</source>
        <translation>Line Style...</translation>
    </message>
    <message>
        <source>Border...</source>
        <translation>Border...</translation>
    </message>
    <message>
        <source>Insert Merge Field...</source>
        <translation>Insert Merge Field...</translation>
    </message>
    <message>
        <source>Toolbox</source>
        <translation>Toolbox</translation>
    </message>
    <message>
        <source>Format</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>B</source>
        <translation>B</translation>
    </message>
    <message>
        <source>I</source>
        <translation>I</translation>
    </message>
    <message>
        <source>U</source>
        <translation>U</translation>
    </message>
    <message>
        <source>Align</source>
        <translation>Align</translation>
    </message>
    <message>
        <source>Report</source>
        <translation>Report</translation>
    </message>
    <message>
        <source>%1 controls</source>
        <translation>%1 controls</translation>
    </message>
    <message>
        <source>Report: %1</source>
        <translation>Report: %1</translation>
    </message>
    <message>
        <source>Untitled</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>%1%2 - OrvReport Designer</source>
        <translation>%1%2 - OrvReport Designer</translation>
    </message>
    <message>
        <source>Save Layout</source>
        <translation>Save Layout</translation>
    </message>
    <message>
        <source>Layouts (*.rpx)</source>
        <translation>Layouts (*.rpx)</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>The viewer program orv-viewer-window was not found next to %1.</source>
        <translation>The viewer program orv-viewer-window was not found next to %1.</translation>
    </message>
    <message>
        <source>%1 could not be started.</source>
        <translation>%1 could not be started.</translation>
    </message>
    <message>
        <source>OrvReport Designer</source>
        <translation>OrvReport Designer</translation>
    </message>
    <message>
        <source>Save the changes to the layout?</source>
        <translation>Save the changes to the layout?</translation>
    </message>
</context>
<context>
    <name>Orv::MainWindow</name>
    <message>
        <source>设计</source>
        <translation>Design</translation>
    </message>
    <message>
        <source>预览</source>
        <translation>Preview</translation>
    </message>
    <message>
        <source>Error: </source>
        <translation>Error: </translation>
    </message>
    <message>
        <source>正在生成：%1 页，%2 行</source>
        <translation>Making pages: %1 pages, %2 rows</translation>
    </message>
    <message>
        <source>%1 页，%2 行</source>
        <translation>%1 pages, %2 rows</translation>
    </message>
    <message>
        <source>Error: ViewPreview</source>
        <translation>Error: ViewPreview</translation>
    </message>
    <message>
        <source>页面宽度</source>
        <translation>Page Width</translation>
    </message>
    <message>
        <source>整个页面</source>
        <translation>Whole Page</translation>
    </message>
    <message>
        <source>%1 %2
A banded-report designer.</source>
        <translation>%1 %2
A banded-report designer.</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Name Test</source>
        <translation>Name Test</translation>
    </message>
    <message>
        <source>The report wizard is not part of this build.</source>
        <translation>The report wizard is not part of this build.</translation>
    </message>
    <message>
        <source>The Access import is not part of this build.</source>
        <translation>The Access import is not part of this build.</translation>
    </message>
</context>
<context>
    <name>Orv::PageView</name>
    <message>
        <source>Page %1 cannot be shown: %2</source>
        <translation>Page %1 cannot be shown: %2</translation>
    </message>
</context>
<context>
    <name>Orv::ReportDocument</name>
    <message>
        <source>Orv自定义报表 (*.rpx)|*.rpx</source>
        <translation>OrvReport Layouts (*.rpx)|*.rpx</translation>
    </message>
    <message>
        <source>Orv自定义报表 (*.rdf)|*.rdf</source>
        <translation>OrvReport Archives (*.rdf)|*.rdf</translation>
    </message>
    <message>
        <source>Orv自定义报表 (*.rpx)|*.rpx|All Files (*.*)|*.*</source>
        <translation>OrvReport Layouts (*.rpx)|*.rpx|All Files (*.*)|*.*</translation>
    </message>
    <message>
        <source>报表路径[%1]</source>
        <translation>Report path [%1]</translation>
    </message>
    <message>
        <source>Save changes to the report?</source>
        <translation>Save changes to the report?</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>报表已修改，是否保存？</source>
        <translation>The report has changed. Save it?</translation>
    </message>
    <message>
        <source>报表保存</source>
        <translation>Save Report</translation>
    </message>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>另存为</source>
        <translation>Save As</translation>
    </message>
    <message>
        <source>Error Opening Report - OpenReportLayout(</source>
        <translation>Error Opening Report - OpenReportLayout(</translation>
    </message>
    <message>
        <source>Error Saving Report Layout - File: </source>
        <translation>Error Saving Report Layout - File: </translation>
    </message>
    <message>
        <source>Error Opening Report Archive - OpenReportArchive(</source>
        <translation>Error Opening Report Archive - OpenReportArchive(</translation>
    </message>
    <message>
        <source>Error Saving Report Archive - File: </source>
        <translation>Error Saving Report Archive - File: </translation>
    </message>
    <message>
        <source>Error: 新建报表向导</source>
        <translation>Error: New Report Wizard</translation>
    </message>
</context>
<context>
    <name>Orv::TocModel</name>
    <message>
        <source>Page %1</source>
        <translation>Page %1</translation>
    </message>
</context>
<context>
    <name>Orv::Viewer</name>
    <message>
        <source>Print</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Printing...</source>
        <translation>Printing...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>Orv::ViewerWindow</name>
    <message>
        <source>OrvReport viewer</source>
        <translation>OrvReport viewer</translation>
    </message>
    <message>
        <source>Viewer</source>
        <translation>Viewer</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Open an archive or a layout</source>
        <translation>Open an archive or a layout</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>Contents</translation>
    </message>
    <message>
        <source>Ruler</source>
        <translation>Ruler</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Single</source>
        <translation>Single</translation>
    </message>
    <message>
        <source>Multiple</source>
        <translation>Multiple</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>Zoom in</translation>
    </message>
    <message>
        <source>Page width</source>
        <translation>Page width</translation>
    </message>
    <message>
        <source>Whole page</source>
        <translation>Whole page</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>Zoom out</translation>
    </message>
    <message>
        <source>Width</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>Whole</source>
        <translation>Whole</translation>
    </message>
    <message>
        <source>First</source>
        <translation>First</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>Previous</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>Last</source>
        <translation>Last</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Forward</translation>
    </message>
    <message>
        <source>&quot;%1&quot; was not found</source>
        <translation>&quot;%1&quot; was not found</translation>
    </message>
    <message>
        <source>Found on page %1, going on from the start</source>
        <translation>Found on page %1, going on from the start</translation>
    </message>
    <message>
        <source>Found on page %1</source>
        <translation>Found on page %1</translation>
    </message>
    <message>
        <source>%1 - OrvReport viewer</source>
        <translation>%1 - OrvReport viewer</translation>
    </message>
    <message>
        <source>Error: %1</source>
        <translation>Error: %1</translation>
    </message>
    <message>
        <source>Making page %1...</source>
        <translation>Making page %1...</translation>
    </message>
    <message numerus="yes">
        <source>%n page(s)</source>
        <translation>
            <numerusform>%n page</numerusform>
            <numerusform>%n pages</numerusform>
        </translation>
    </message>
    <message>
        <source>Reports (*.rdf *.rpx);;Archives (*.rdf);;Layouts (*.rpx)</source>
        <translation>Reports (*.rdf *.rpx);;Archives (*.rdf);;Layouts (*.rpx)</translation>
    </message>
    <message>
        <source>Archives (*.rdf)</source>
        <translation>Archives (*.rdf)</translation>
    </message>
</context>
<context>
    <name>Orv::frmFileDialog</name>
    <message>
        <source>空白报表</source>
        <translation>Blank Report</translation>
    </message>
    <message>
        <source>新建报表向导</source>
        <translation>New Report Wizard</translation>
    </message>
    <message>
        <source>导入Access报表</source>
        <translation>Import Access Report</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>打开[&amp;O]</source>
        <translation>&amp;Open</translation>
    </message>
    <message>
        <source>取消[&amp;C]</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>文件夹</source>
        <translation>Folder</translation>
    </message>
    <message>
        <source>日期</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>新建</source>
        <translation>New</translation>
    </message>
    <message>
        <source>现存</source>
        <translation>Existing</translation>
    </message>
    <message>
        <source>最近</source>
        <translation>Recent</translation>
    </message>
    <message>
        <source>不再显示这个对话框[&amp;U]</source>
        <translation>Do not show this dialog again</translation>
    </message>
</context>
<context>
    <name>miCCCopy</name>
    <message>
        <source>复制[&amp;C]</source>
        <translation>&amp;Copy</translation>
    </message>
</context>
<context>
    <name>miCCCut</name>
    <message>
        <source>剪切[&amp;C]</source>
        <translation>Cu&amp;t</translation>
    </message>
</context>
<context>
    <name>miCCDelete</name>
    <message>
        <source>删除[&amp;D]</source>
        <translation>&amp;Delete</translation>
    </message>
</context>
<context>
    <name>miCCPaste</name>
    <message>
        <source>粘贴[&amp;P]</source>
        <translation>&amp;Paste</translation>
    </message>
</context>
<context>
    <name>miCCProperties</name>
    <message>
        <source>属性[&amp;R]</source>
        <translation>P&amp;roperties</translation>
    </message>
</context>
<context>
    <name>miCFCopy</name>
    <message>
        <source>复制[&amp;C]</source>
        <translation>&amp;Copy</translation>
    </message>
</context>
<context>
    <name>miCFCut</name>
    <message>
        <source>剪切[&amp;U]</source>
        <translation>Cu&amp;t</translation>
    </message>
</context>
<context>
    <name>miCFDelete</name>
    <message>
        <source>删除[&amp;D]</source>
        <translation>&amp;Delete</translation>
    </message>
</context>
<context>
    <name>miCFHSplit</name>
    <message>
        <source>水平分开[&amp;H]</source>
        <translation>Split &amp;Horizontally</translation>
    </message>
</context>
<context>
    <name>miCFPaneProperties</name>
    <message>
        <source>窗格属性...[&amp;P]</source>
        <translation>&amp;Pane Properties...</translation>
    </message>
</context>
<context>
    <name>miCFPaste</name>
    <message>
        <source>粘贴[&amp;P]</source>
        <translation>&amp;Paste</translation>
    </message>
</context>
<context>
    <name>miCFProperties</name>
    <message>
        <source>属性...[&amp;P]</source>
        <translation>&amp;Properties...</translation>
    </message>
</context>
<context>
    <name>miCFVSplit</name>
    <message>
        <source>垂直分开[&amp;V]</source>
        <translation>Split &amp;Vertically</translation>
    </message>
</context>
<context>
    <name>miCRProperties</name>
    <message>
        <source>属性[&amp;P]</source>
        <translation>&amp;Properties</translation>
    </message>
</context>
<context>
    <name>miCReCopy</name>
    <message>
        <source>复制[&amp;C]</source>
        <translation>&amp;Copy</translation>
    </message>
</context>
<context>
    <name>miCReCut</name>
    <message>
        <source>剪切[&amp;U]</source>
        <translation>Cu&amp;t</translation>
    </message>
</context>
<context>
    <name>miCReDelete</name>
    <message>
        <source>删除[&amp;D]</source>
        <translation>&amp;Delete</translation>
    </message>
</context>
<context>
    <name>miCReMergeField</name>
    <message>
        <source>合并字段[&amp;F]</source>
        <translation>Merge &amp;Field</translation>
    </message>
</context>
<context>
    <name>miCRePaste</name>
    <message>
        <source>粘贴[&amp;P]</source>
        <translation>&amp;Paste</translation>
    </message>
</context>
<context>
    <name>miCReProperties</name>
    <message>
        <source>属性[&amp;P]</source>
        <translation>&amp;Properties</translation>
    </message>
</context>
<context>
    <name>miCReSelectAll</name>
    <message>
        <source>全选[&amp;A]</source>
        <translation>Select &amp;All</translation>
    </message>
</context>
<context>
    <name>miCSDelete</name>
    <message>
        <source>删除[&amp;D]</source>
        <translation>&amp;Delete</translation>
    </message>
</context>
<context>
    <name>miCSIGroupHF</name>
    <message>
        <source>分组头/脚[&amp;G]</source>
        <translation>&amp;Group Header/Footer</translation>
    </message>
</context>
<context>
    <name>miCSIPageHF</name>
    <message>
        <source>报表页头/脚[&amp;P]</source>
        <translation>&amp;Page Header/Footer</translation>
    </message>
</context>
<context>
    <name>miCSIReportHF</name>
    <message>
        <source>报表头/脚[&amp;R]</source>
        <translation>&amp;Report Header/Footer</translation>
    </message>
</context>
<context>
    <name>miCSInsert</name>
    <message>
        <source>插入[&amp;I]</source>
        <translation>&amp;Insert</translation>
    </message>
</context>
<context>
    <name>miCSPaste</name>
    <message>
        <source>粘贴[&amp;P]</source>
        <translation>&amp;Paste</translation>
    </message>
</context>
<context>
    <name>miCSProperties</name>
    <message>
        <source>属性[&amp;P]</source>
        <translation>&amp;Properties</translation>
    </message>
</context>
<context>
    <name>miCSReorderGroups</name>
    <message>
        <source>记录分组[&amp;R]</source>
        <translation>&amp;Reorder Groups</translation>
    </message>
</context>
<context>
    <name>miECopy</name>
    <message>
        <source>复制[&amp;C]</source>
        <translation>&amp;Copy</translation>
    </message>
</context>
<context>
    <name>miECopyPage</name>
    <message>
        <source>复制页</source>
        <translation>Copy Page</translation>
    </message>
</context>
<context>
    <name>miECut</name>
    <message>
        <source>剪切</source>
        <translation>Cut</translation>
    </message>
</context>
<context>
    <name>miEDelete</name>
    <message>
        <source>删除[&amp;D]</source>
        <translation>&amp;Delete</translation>
    </message>
</context>
<context>
    <name>miEDeleteSection</name>
    <message>
        <source>删除扇区</source>
        <translation>Delete Section</translation>
    </message>
</context>
<context>
    <name>miEFind</name>
    <message>
        <source>查找...[&amp;F]</source>
        <translation>&amp;Find...</translation>
    </message>
</context>
<context>
    <name>miEOptions</name>
    <message>
        <source>选项...[&amp;O]</source>
        <translation>&amp;Options...</translation>
    </message>
</context>
<context>
    <name>miEPaste</name>
    <message>
        <source>粘贴[&amp;P]</source>
        <translation>&amp;Paste</translation>
    </message>
</context>
<context>
    <name>miEProperties</name>
    <message>
        <source>属性...[&amp;P]</source>
        <translation>&amp;Properties...</translation>
    </message>
</context>
<context>
    <name>miEReorderGroups</name>
    <message>
        <source>记录分组...</source>
        <translation>Reorder Groups...</translation>
    </message>
</context>
<context>
    <name>miEUndo</name>
    <message>
        <source>撤销[&amp;U]</source>
        <translation>&amp;Undo</translation>
    </message>
</context>
<context>
    <name>miFExit</name>
    <message>
        <source>关闭</source>
        <translation>Exit</translation>
    </message>
</context>
<context>
    <name>miFExport</name>
    <message>
        <source>输出</source>
        <translation>Export</translation>
    </message>
</context>
<context>
    <name>miFNBlankReport</name>
    <message>
        <source>空报表[&amp;B]</source>
        <translation>&amp;Blank Report</translation>
    </message>
</context>
<context>
    <name>miFNImportAccessReport</name>
    <message>
        <source>导入Access报表...[&amp;I]</source>
        <translation>&amp;Import Access Report...</translation>
    </message>
</context>
<context>
    <name>miFNReportWizard</name>
    <message>
        <source>报表向导...[&amp;R]</source>
        <translation>&amp;Report Wizard...</translation>
    </message>
</context>
<context>
    <name>miFNew</name>
    <message>
        <source>新建[&amp;N]</source>
        <translation>&amp;New</translation>
    </message>
</context>
<context>
    <name>miFOpen</name>
    <message>
        <source>打开...[&amp;O]</source>
        <translation>&amp;Open...</translation>
    </message>
</context>
<context>
    <name>miFPrint</name>
    <message>
        <source>打印[&amp;P]</source>
        <translation>&amp;Print...</translation>
    </message>
</context>
<context>
    <name>miFPrintPreview</name>
    <message>
        <source>预览</source>
        <translation>Print Preview</translation>
    </message>
</context>
<context>
    <name>miFPrinterSetup</name>
    <message>
        <source>打印设置...</source>
        <translation>Print Setup...</translation>
    </message>
</context>
<context>
    <name>miFReportProperties</name>
    <message>
        <source>报表属性</source>
        <translation>Report Properties</translation>
    </message>
</context>
<context>
    <name>miFSave</name>
    <message>
        <source>保存[&amp;S]</source>
        <translation>&amp;Save</translation>
    </message>
</context>
<context>
    <name>miFSaveAs</name>
    <message>
        <source>另存为...</source>
        <translation>Save &amp;As...</translation>
    </message>
</context>
<context>
    <name>miFoABottoms</name>
    <message>
        <source>底端对齐[&amp;B]</source>
        <translation>&amp;Bottoms</translation>
    </message>
</context>
<context>
    <name>miFoACenters</name>
    <message>
        <source>居中[&amp;C]</source>
        <translation>&amp;Centers</translation>
    </message>
</context>
<context>
    <name>miFoALefts</name>
    <message>
        <source>左对齐[&amp;L]</source>
        <translation>&amp;Lefts</translation>
    </message>
</context>
<context>
    <name>miFoAMiddles</name>
    <message>
        <source>中间对齐[&amp;M]</source>
        <translation>&amp;Middles</translation>
    </message>
</context>
<context>
    <name>miFoARights</name>
    <message>
        <source>右对齐[&amp;R]</source>
        <translation>&amp;Rights</translation>
    </message>
</context>
<context>
    <name>miFoAToGrid</name>
    <message>
        <source>对齐到网格[&amp;G]</source>
        <translation>To &amp;Grid</translation>
    </message>
</context>
<context>
    <name>miFoATops</name>
    <message>
        <source>顶端对齐[&amp;T]</source>
        <translation>&amp;Tops</translation>
    </message>
</context>
<context>
    <name>miFoAlign</name>
    <message>
        <source>对齐[&amp;A]</source>
        <translation>&amp;Align</translation>
    </message>
</context>
<context>
    <name>miFoBringToFront</name>
    <message>
        <source>置前[&amp;F]</source>
        <translation>Bring to &amp;Front</translation>
    </message>
</context>
<context>
    <name>miFoHSDecrease</name>
    <message>
        <source>递减[&amp;D]</source>
        <translation>&amp;Decrease</translation>
    </message>
</context>
<context>
    <name>miFoHSEqual</name>
    <message>
        <source>相等[&amp;E]</source>
        <translation>Make &amp;Equal</translation>
    </message>
</context>
<context>
    <name>miFoHSIncrease</name>
    <message>
        <source>递增[&amp;I]</source>
        <translation>&amp;Increase</translation>
    </message>
</context>
<context>
    <name>miFoHSpacing</name>
    <message>
        <source>水平间距[&amp;H]</source>
        <translation>&amp;Horizontal Spacing</translation>
    </message>
</context>
<context>
    <name>miFoLockControls</name>
    <message>
        <source>锁定控件[&amp;L]</source>
        <translation>&amp;Lock Controls</translation>
    </message>
</context>
<context>
    <name>miFoSBoth</name>
    <message>
        <source>两者相同[&amp;B]</source>
        <translation>&amp;Both</translation>
    </message>
</context>
<context>
    <name>miFoSHeight</name>
    <message>
        <source>高度相同[&amp;H]</source>
        <translation>Same &amp;Height</translation>
    </message>
</context>
<context>
    <name>miFoSWidth</name>
    <message>
        <source>宽度相同[&amp;W]</source>
        <translation>Same &amp;Width</translation>
    </message>
</context>
<context>
    <name>miFoSendToBack</name>
    <message>
        <source>置后[&amp;B]</source>
        <translation>Send to &amp;Back</translation>
    </message>
</context>
<context>
    <name>miFoSize</name>
    <message>
        <source>尺寸[&amp;S]</source>
        <translation>&amp;Size</translation>
    </message>
</context>
<context>
    <name>miFoVSDecrease</name>
    <message>
        <source>递减[&amp;D]</source>
        <translation>&amp;Decrease</translation>
    </message>
</context>
<context>
    <name>miFoVSEqual</name>
    <message>
        <source>相等[&amp;E]</source>
        <translation>Make &amp;Equal</translation>
    </message>
</context>
<context>
    <name>miFoVSIncrease</name>
    <message>
        <source>递增[&amp;I]</source>
        <translation>&amp;Increase</translation>
    </message>
</context>
<context>
    <name>miFoVSpacing</name>
    <message>
        <source>垂直间距[&amp;V]</source>
        <translation>&amp;Vertical Spacing</translation>
    </message>
</context>
<context>
    <name>miHAbout</name>
    <message>
        <source>关于[&amp;A]</source>
        <translation>&amp;About OrvReport</translation>
    </message>
</context>
<context>
    <name>miIBarcode</name>
    <message>
        <source>条形码[&amp;B]</source>
        <translation>&amp;Barcode</translation>
    </message>
</context>
<context>
    <name>miICalculatedField</name>
    <message>
        <source>计算字段[&amp;C]</source>
        <translation>&amp;Calculated Field</translation>
    </message>
</context>
<context>
    <name>miICheckbox</name>
    <message>
        <source>复选框[&amp;C]</source>
        <translation>&amp;Check Box</translation>
    </message>
</context>
<context>
    <name>miICustom</name>
    <message>
        <source>自定义[&amp;C]</source>
        <translation>&amp;Custom Control</translation>
    </message>
</context>
<context>
    <name>miIDateTime</name>
    <message>
        <source>日期时间[&amp;D]</source>
        <translation>&amp;Date and Time</translation>
    </message>
</context>
<context>
    <name>miIFrame</name>
    <message>
        <source>框架[&amp;F]</source>
        <translation>&amp;Frame</translation>
    </message>
</context>
<context>
    <name>miIGroupHF</name>
    <message>
        <source>分组头/脚[&amp;G]</source>
        <translation>&amp;Group Header/Footer</translation>
    </message>
</context>
<context>
    <name>miIImage</name>
    <message>
        <source>图像[&amp;I]</source>
        <translation>&amp;Image</translation>
    </message>
</context>
<context>
    <name>miILabel</name>
    <message>
        <source>标签[&amp;L]</source>
        <translation>&amp;Label</translation>
    </message>
</context>
<context>
    <name>miILine</name>
    <message>
        <source>线条[&amp;L]</source>
        <translation>L&amp;ine</translation>
    </message>
</context>
<context>
    <name>miIOLEObject</name>
    <message>
        <source>OLE对象[&amp;O]</source>
        <translation>&amp;OLE Object</translation>
    </message>
</context>
<context>
    <name>miIPageBreak</name>
    <message>
        <source>页终止[&amp;P]</source>
        <translation>Page &amp;Break</translation>
    </message>
</context>
<context>
    <name>miIPageHF</name>
    <message>
        <source>报表页头/脚[&amp;P]</source>
        <translation>&amp;Page Header/Footer</translation>
    </message>
</context>
<context>
    <name>miIPageNumbers</name>
    <message>
        <source>页码[&amp;P]</source>
        <translation>&amp;Page Numbers...</translation>
    </message>
</context>
<context>
    <name>miIReportHF</name>
    <message>
        <source>报表头/脚[&amp;R]</source>
        <translation>&amp;Report Header/Footer</translation>
    </message>
</context>
<context>
    <name>miIRichtext</name>
    <message>
        <source>富文本框[&amp;R]</source>
        <translation>&amp;Rich Text Box</translation>
    </message>
</context>
<context>
    <name>miIShape</name>
    <message>
        <source>形状[&amp;S]</source>
        <translation>&amp;Shape</translation>
    </message>
</context>
<context>
    <name>miISubreport</name>
    <message>
        <source>子报表[&amp;S]</source>
        <translation>S&amp;ubreport</translation>
    </message>
</context>
<context>
    <name>miISummaryField</name>
    <message>
        <source>合计字段[&amp;S]</source>
        <translation>&amp;Summary Field</translation>
    </message>
</context>
<context>
    <name>miITextbox</name>
    <message>
        <source>文本框[&amp;T]</source>
        <translation>&amp;Text Box</translation>
    </message>
</context>
<context>
    <name>miTGetFieldsList</name>
    <message>
        <source>获得字段列表[&amp;G]</source>
        <translation>&amp;Get Field List</translation>
    </message>
</context>
<context>
    <name>miTeCreateDynamicControls</name>
    <message>
        <source>建立动态控件[&amp;C]</source>
        <translation>&amp;Create Dynamic Controls</translation>
    </message>
</context>
<context>
    <name>miTeLoadByteArray</name>
    <message>
        <source>以二进制装入报表[&amp;L]</source>
        <translation>&amp;Load Report from Bytes</translation>
    </message>
</context>
<context>
    <name>miVDataSource</name>
    <message>
        <source>数据源</source>
        <translation>Data Source...</translation>
    </message>
</context>
<context>
    <name>miVDesignView</name>
    <message>
        <source>设置视图[&amp;D]</source>
        <translation>&amp;Design View</translation>
    </message>
</context>
<context>
    <name>miVEditor</name>
    <message>
        <source>代码编辑[&amp;E]</source>
        <translation>Script &amp;Editor</translation>
    </message>
</context>
<context>
    <name>miVFieldList</name>
    <message>
        <source>字段列表[&amp;F]</source>
        <translation>&amp;Field List</translation>
    </message>
</context>
<context>
    <name>miVFullScreen</name>
    <message>
        <source>满屏[&amp;S]</source>
        <translation>Full &amp;Screen</translation>
    </message>
</context>
<context>
    <name>miVGrid</name>
    <message>
        <source>显示网格[&amp;G]</source>
        <translation>Show &amp;Grid</translation>
    </message>
</context>
<context>
    <name>miVPrintPreview</name>
    <message>
        <source>打印预览</source>
        <translation>Print Preview</translation>
    </message>
</context>
<context>
    <name>miVPropertiesList</name>
    <message>
        <source>属性列表[&amp;L]</source>
        <translation>Property &amp;List</translation>
    </message>
</context>
<context>
    <name>miVRuler</name>
    <message>
        <source>标尺</source>
        <translation>Ruler</translation>
    </message>
</context>
<context>
    <name>miVSortingAndGrouping</name>
    <message>
        <source>排序与分组[&amp;S]</source>
        <translation>&amp;Sorting and Grouping</translation>
    </message>
</context>
<context>
    <name>miVStatusBar</name>
    <message>
        <source>状态条[&amp;S]</source>
        <translation>&amp;Status Bar</translation>
    </message>
</context>
<context>
    <name>miVTFormat</name>
    <message>
        <source>格式化[&amp;F]</source>
        <translation>&amp;Format</translation>
    </message>
</context>
<context>
    <name>miVTOC</name>
    <message>
        <source>目录表</source>
        <translation>Table of Contents</translation>
    </message>
</context>
<context>
    <name>miVTStandard</name>
    <message>
        <source>基本[&amp;S]</source>
        <translation>&amp;Standard</translation>
    </message>
</context>
<context>
    <name>miVTToolbox</name>
    <message>
        <source>工具箱[&amp;T]</source>
        <translation>&amp;Toolbox</translation>
    </message>
</context>
<context>
    <name>miVToolbars</name>
    <message>
        <source>工具条[&amp;T]</source>
        <translation>&amp;Toolbars</translation>
    </message>
</context>
<context>
    <name>mnuCControl</name>
    <message>
        <source>控件</source>
        <translation>Control</translation>
    </message>
</context>
<context>
    <name>mnuCFrameControl</name>
    <message>
        <source>框架控件[&amp;F]</source>
        <translation>&amp;Frame Control</translation>
    </message>
</context>
<context>
    <name>mnuCReport</name>
    <message>
        <source>报表[&amp;R]</source>
        <translation>&amp;Report</translation>
    </message>
</context>
<context>
    <name>mnuCRichEdit</name>
    <message>
        <source>富编辑框[&amp;E]</source>
        <translation>Rich &amp;Edit Box</translation>
    </message>
</context>
<context>
    <name>mnuCSection</name>
    <message>
        <source>扇区</source>
        <translation>Section</translation>
    </message>
</context>
<context>
    <name>mnuContext</name>
    <message>
        <source>上下文菜单[&amp;C]</source>
        <translation>&amp;Context Menus</translation>
    </message>
</context>
<context>
    <name>mnuEdit</name>
    <message>
        <source>编辑[&amp;E]</source>
        <translation>&amp;Edit</translation>
    </message>
</context>
<context>
    <name>mnuFile</name>
    <message>
        <source>文件[&amp;F]</source>
        <translation>&amp;File</translation>
    </message>
</context>
<context>
    <name>mnuFormat</name>
    <message>
        <source>格式[&amp;F]</source>
        <translation>F&amp;ormat</translation>
    </message>
</context>
<context>
    <name>mnuHelp</name>
    <message>
        <source>帮助[&amp;H]</source>
        <translation>&amp;Help</translation>
    </message>
</context>
<context>
    <name>mnuInsert</name>
    <message>
        <source>插入[&amp;I]</source>
        <translation>&amp;Insert</translation>
    </message>
</context>
<context>
    <name>mnuTest</name>
    <message>
        <source>测试[&amp;T]</source>
        <translation>&amp;Test</translation>
    </message>
</context>
<context>
    <name>mnuView</name>
    <message>
        <source>视图[&amp;V]</source>
        <translation>&amp;View</translation>
    </message>
</context>
<context>
    <name>tECopy</name>
    <message>
        <source>复制</source>
        <translation>Copy</translation>
    </message>
</context>
<context>
    <name>tECut</name>
    <message>
        <source>剪切</source>
        <translation>Cut</translation>
    </message>
</context>
<context>
    <name>tEDelete</name>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
</context>
<context>
    <name>tEPaste</name>
    <message>
        <source>粘贴</source>
        <translation>Paste</translation>
    </message>
</context>
<context>
    <name>tEReorderGroups</name>
    <message>
        <source>记录分组</source>
        <translation>Reorder Groups</translation>
    </message>
</context>
<context>
    <name>tEUndo</name>
    <message>
        <source>取消</source>
        <translation>Undo</translation>
    </message>
</context>
<context>
    <name>tFAccessImport</name>
    <message>
        <source>导入Access报表</source>
        <translation>Import Access Report</translation>
    </message>
</context>
<context>
    <name>tFNewReport</name>
    <message>
        <source>新报表</source>
        <translation>New Report</translation>
    </message>
</context>
<context>
    <name>tFNewReportWizard</name>
    <message>
        <source>报表向导</source>
        <translation>Report Wizard</translation>
    </message>
</context>
<context>
    <name>tFOpen</name>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
</context>
<context>
    <name>tFPrint</name>
    <message>
        <source>打印</source>
        <translation>Print</translation>
    </message>
</context>
<context>
    <name>tFPrintSetup</name>
    <message>
        <source>打印设置</source>
        <translation>Print Setup</translation>
    </message>
</context>
<context>
    <name>tFSave</name>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
</context>
<context>
    <name>tFSaveAs</name>
    <message>
        <source>另存为</source>
        <translation>Save As</translation>
    </message>
</context>
<context>
    <name>tFoABottoms</name>
    <message>
        <source>置底</source>
        <translation>Align Bottoms</translation>
    </message>
</context>
<context>
    <name>tFoACenters</name>
    <message>
        <source>居中</source>
        <translation>Center</translation>
    </message>
</context>
<context>
    <name>tFoALefts</name>
    <message>
        <source>左对齐</source>
        <translation>Align Left</translation>
    </message>
</context>
<context>
    <name>tFoAMiddles</name>
    <message>
        <source>垂直居中</source>
        <translation>Align Middles</translation>
    </message>
</context>
<context>
    <name>tFoARights</name>
    <message>
        <source>右对齐</source>
        <translation>Align Right</translation>
    </message>
</context>
<context>
    <name>tFoAToGrid</name>
    <message>
        <source>对齐到网格</source>
        <translation>Align to Grid</translation>
    </message>
</context>
<context>
    <name>tFoATops</name>
    <message>
        <source>置顶</source>
        <translation>Align Tops</translation>
    </message>
</context>
<context>
    <name>tFoAlignCenter</name>
    <message>
        <source>居中</source>
        <translation>Center</translation>
    </message>
</context>
<context>
    <name>tFoAlignLeft</name>
    <message>
        <source>左对齐</source>
        <translation>Align Left</translation>
    </message>
</context>
<context>
    <name>tFoAlignRight</name>
    <message>
        <source>右对齐</source>
        <translation>Align Right</translation>
    </message>
</context>
<context>
    <name>tFoBackColor</name>
    <message>
        <source>背景色</source>
        <translation>Back Color</translation>
    </message>
</context>
<context>
    <name>tFoBold</name>
    <message>
        <source>加粗</source>
        <translation>Bold</translation>
    </message>
</context>
<context>
    <name>tFoBorder</name>
    <message>
        <source>边框</source>
        <translation>Border</translation>
    </message>
</context>
<context>
    <name>tFoBringToFront</name>
    <message>
        <source>置前</source>
        <translation>Bring to Front</translation>
    </message>
</context>
<context>
    <name>tFoBullets</name>
    <message>
        <source>项目符号</source>
        <translation>Bullets</translation>
    </message>
</context>
<context>
    <name>tFoFontDialog</name>
    <message>
        <source>字体设置</source>
        <translation>Font...</translation>
    </message>
</context>
<context>
    <name>tFoForeColor</name>
    <message>
        <source>前景色</source>
        <translation>Fore Color</translation>
    </message>
</context>
<context>
    <name>tFoIndent</name>
    <message>
        <source>增加缩进量</source>
        <translation>Increase Indent</translation>
    </message>
</context>
<context>
    <name>tFoItalic</name>
    <message>
        <source>斜体</source>
        <translation>Italic</translation>
    </message>
</context>
<context>
    <name>tFoLineColor</name>
    <message>
        <source>线条颜色</source>
        <translation>Line Color</translation>
    </message>
</context>
<context>
    <name>tFoLineStyle</name>
    <message>
        <source>线条样式</source>
        <translation>Line Style</translation>
    </message>
</context>
<context>
    <name>tFoLockControls</name>
    <message>
        <source>锁定控件</source>
        <translation>Lock Controls</translation>
    </message>
</context>
<context>
    <name>tFoOutdent</name>
    <message>
        <source>减少缩进量</source>
        <translation>Decrease Indent</translation>
    </message>
</context>
<context>
    <name>tFoSBoth</name>
    <message>
        <source>统一宽高</source>
        <translation>Same Size</translation>
    </message>
</context>
<context>
    <name>tFoSHeights</name>
    <message>
        <source>统一高度</source>
        <translation>Same Height</translation>
    </message>
</context>
<context>
    <name>tFoSWidths</name>
    <message>
        <source>统一宽度</source>
        <translation>Same Width</translation>
    </message>
</context>
<context>
    <name>tFoSendToBack</name>
    <message>
        <source>置后</source>
        <translation>Send to Back</translation>
    </message>
</context>
<context>
    <name>tFoUnderline</name>
    <message>
        <source>下划线</source>
        <translation>Underline</translation>
    </message>
</context>
<context>
    <name>tVCodeEditor</name>
    <message>
        <source>脚本编辑</source>
        <translation>Script Editor</translation>
    </message>
</context>
<context>
    <name>tVDesign</name>
    <message>
        <source>报表设计</source>
        <translation>Report Design</translation>
    </message>
</context>
<context>
    <name>tVFieldsList</name>
    <message>
        <source>字段列表</source>
        <translation>Field List</translation>
    </message>
</context>
<context>
    <name>tVFullScreen</name>
    <message>
        <source>全屏</source>
        <translation>Full Screen</translation>
    </message>
</context>
<context>
    <name>tVGrid</name>
    <message>
        <source>网格</source>
        <translation>Grid</translation>
    </message>
</context>
<context>
    <name>tVPreview</name>
    <message>
        <source>报表预览</source>
        <translation>Report Preview</translation>
    </message>
</context>
<context>
    <name>tVPropertiesList</name>
    <message>
        <source>属性窗口</source>
        <translation>Property List</translation>
    </message>
</context>
<context>
    <name>tVSortingAndGrouping</name>
    <message>
        <source>排序和分组选项</source>
        <translation>Sorting and Grouping</translation>
    </message>
</context>
<context>
    <name>tVStatusBar</name>
    <message>
        <source>状态栏</source>
        <translation>Status Bar</translation>
    </message>
</context>
<context>
    <name>tVToolbox</name>
    <message>
        <source>工具箱</source>
        <translation>Toolbox</translation>
    </message>
</context>
<context>
    <name>tbAlign</name>
    <message>
        <source>对齐</source>
        <translation>Align</translation>
    </message>
</context>
<context>
    <name>tbFormat</name>
    <message>
        <source>格式化</source>
        <translation>Format</translation>
    </message>
</context>
<context>
    <name>tbStandard</name>
    <message>
        <source>基本</source>
        <translation>Standard</translation>
    </message>
</context>
<context>
    <name>tbToolbox</name>
    <message>
        <source>工具箱</source>
        <translation>Toolbox</translation>
    </message>
</context>
<context>
    <name>tbView</name>
    <message>
        <source>视图</source>
        <translation>View</translation>
    </message>
</context>
<context>
    <name>tbViewer</name>
    <message>
        <source>预览</source>
        <translation>Preview</translation>
    </message>
</context>
<context>
    <name>tbxBarcode</name>
    <message>
        <source>条形码</source>
        <translation>Barcode</translation>
    </message>
</context>
<context>
    <name>tbxCalculatedField</name>
    <message>
        <source>计算字段</source>
        <translation>Calculated Field</translation>
    </message>
</context>
<context>
    <name>tbxCheckbox</name>
    <message>
        <source>复选框</source>
        <translation>Check Box</translation>
    </message>
</context>
<context>
    <name>tbxDateTime</name>
    <message>
        <source>日期时间</source>
        <translation>Date and Time</translation>
    </message>
</context>
<context>
    <name>tbxField</name>
    <message>
        <source>字段</source>
        <translation>Field</translation>
    </message>
</context>
<context>
    <name>tbxFrame</name>
    <message>
        <source>框架</source>
        <translation>Frame</translation>
    </message>
</context>
<context>
    <name>tbxImage</name>
    <message>
        <source>图像</source>
        <translation>Image</translation>
    </message>
</context>
<context>
    <name>tbxLabel</name>
    <message>
        <source>标签</source>
        <translation>Label</translation>
    </message>
</context>
<context>
    <name>tbxLine</name>
    <message>
        <source>线条</source>
        <translation>Line</translation>
    </message>
</context>
<context>
    <name>tbxOLE</name>
    <message>
        <source>OLE 对象</source>
        <translation>OLE Object</translation>
    </message>
</context>
<context>
    <name>tbxPageBreak</name>
    <message>
        <source>断页</source>
        <translation>Page Break</translation>
    </message>
</context>
<context>
    <name>tbxPagenumber</name>
    <message>
        <source>页码</source>
        <translation>Page Numbers</translation>
    </message>
</context>
<context>
    <name>tbxRichedit</name>
    <message>
        <source>Rich文本框</source>
        <translation>Rich Text Box</translation>
    </message>
</context>
<context>
    <name>tbxSelect</name>
    <message>
        <source>选择</source>
        <translation>Select</translation>
    </message>
</context>
<context>
    <name>tbxShape</name>
    <message>
        <source>形状</source>
        <translation>Shape</translation>
    </message>
</context>
<context>
    <name>tbxSubreport</name>
    <message>
        <source>子报表</source>
        <translation>Subreport</translation>
    </message>
</context>
<context>
    <name>tbxSummaryField</name>
    <message>
        <source>合计字段</source>
        <translation>Summary Field</translation>
    </message>
</context>
<context>
    <name>tfoFont</name>
    <message>
        <source>字体</source>
        <translation>Font</translation>
    </message>
</context>
<context>
    <name>tvuBack</name>
    <message>
        <source>后退</source>
        <translation>Back</translation>
    </message>
</context>
<context>
    <name>tvuCopyPage</name>
    <message>
        <source>复制</source>
        <translation>Copy Page</translation>
    </message>
</context>
<context>
    <name>tvuExport</name>
    <message>
        <source>输出</source>
        <translation>Export</translation>
    </message>
</context>
<context>
    <name>tvuFind</name>
    <message>
        <source>查找</source>
        <translation>Find</translation>
    </message>
</context>
<context>
    <name>tvuForward</name>
    <message>
        <source>前进</source>
        <translation>Forward</translation>
    </message>
</context>
<context>
    <name>tvuMultiPage</name>
    <message>
        <source>多页</source>
        <translation>Multiple Pages</translation>
    </message>
</context>
<context>
    <name>tvuOpen</name>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
</context>
<context>
    <name>tvuOptions</name>
    <message>
        <source>选项</source>
        <translation>Options</translation>
    </message>
</context>
<context>
    <name>tvuPageDown</name>
    <message>
        <source>下一页</source>
        <translation>Next Page</translation>
    </message>
</context>
<context>
    <name>tvuPageFirst</name>
    <message>
        <source>首页</source>
        <translation>First Page</translation>
    </message>
</context>
<context>
    <name>tvuPageLast</name>
    <message>
        <source>末页</source>
        <translation>Last Page</translation>
    </message>
</context>
<context>
    <name>tvuPageNumber</name>
    <message>
        <source>页码</source>
        <translation>Page Number</translation>
    </message>
</context>
<context>
    <name>tvuPageUp</name>
    <message>
        <source>上一页</source>
        <translation>Previous Page</translation>
    </message>
</context>
<context>
    <name>tvuPrint</name>
    <message>
        <source>打印</source>
        <translation>Print</translation>
    </message>
</context>
<context>
    <name>tvuRuler</name>
    <message>
        <source>显示标尺</source>
        <translation>Show Ruler</translation>
    </message>
</context>
<context>
    <name>tvuSave</name>
    <message>
        <source>保存</source>
        <translation>Save</translation>
    </message>
</context>
<context>
    <name>tvuSinglePage</name>
    <message>
        <source>单页</source>
        <translation>Single Page</translation>
    </message>
</context>
<context>
    <name>tvuTOC</name>
    <message>
        <source>目录</source>
        <translation>Table of Contents</translation>
    </message>
</context>
<context>
    <name>tvuZoom</name>
    <message>
        <source>缩放</source>
        <translation>Zoom</translation>
    </message>
</context>
<context>
    <name>tvuZoomIn</name>
    <message>
        <source>放大</source>
        <translation>Zoom In</translation>
    </message>
</context>
<context>
    <name>tvuZoomOut</name>
    <message>
        <source>缩小</source>
        <translation>Zoom Out</translation>
    </message>
</context>
</TS>
