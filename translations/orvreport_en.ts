<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>AccessImportModel</name>
    <message>
        <source>Default (ANSI)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Arabic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Baltic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>EastEurope</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Greek</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hebrew</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Russian</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Turkish</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ConnectionDialog</name>
    <message>
        <source>SQLite</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PostgreSQL</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ODBC data source or driver</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Microsoft Access file (.mdb, .accdb)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>File not found: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>数据库文件</source>
        <translation>the database file</translation>
    </message>
    <message>
        <source>数据库名称</source>
        <translation>the database name</translation>
    </message>
    <message>
        <source>数据源或驱动程序</source>
        <translation>a data source or a driver</translation>
    </message>
</context>
<context>
    <name>DialogUnits</name>
    <message>
        <source>厘米</source>
        <translation>centimetres</translation>
    </message>
    <message>
        <source>英寸</source>
        <translation>inches</translation>
    </message>
    <message>
        <source>Type a number of %1.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Orv::AccessImportModel</name>
    <message>
        <source>Microsoft Access Files (*.mdb, *.adp)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Microsoft Access Database (*.mdb)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Microsoft Access Project (*.adp)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>All Files (*.*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reports Database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select reports path:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Microsoft Access 2007 数据库 (*.accdb)</source>
        <translation>Microsoft Access 2007 Database (*.accdb)</translation>
    </message>
    <message>
        <source>当前报表转换完成后停止...</source>
        <translation>Stopping after the report being converted...</translation>
    </message>
    <message>
        <source>导出文件夹“%1”不存在。</source>
        <translation>The exports folder &quot;%1&quot; does not exist.</translation>
    </message>
    <message>
        <source>请勾选要转换的报表。</source>
        <translation>Tick the reports to convert.</translation>
    </message>
    <message>
        <source>请在 Reports Path 中填写布局文件要写入的文件夹。</source>
        <translation>Enter the folder the layouts are written to in Reports Path.</translation>
    </message>
    <message>
        <source>无法写入文件夹“%1”。</source>
        <translation>The folder &quot;%1&quot; cannot be written.</translation>
    </message>
    <message>
        <source>数据库中没有报表。</source>
        <translation>The database has no reports.</translation>
    </message>
    <message>
        <source>这些报表在导出文件夹中都没有导出文件，请查看数据库页。</source>
        <translation>None of these reports has an export in the exports folder; see the database page.</translation>
    </message>
    <message>
        <source>无法将此文件作为Access数据库读取。</source>
        <translation>This file cannot be read as an Access database.</translation>
    </message>
    <message numerus="yes">
        <source>找到 %n 个报表导出文件。</source>
        <translation>
            <numerusform>%n report export(s) found.</numerusform>
            <numerusform>%n report export(s) found.</numerusform>
        </translation>
    </message>
    <message>
        <source>共 %2 个报表，其中 %1 个在导出文件夹中有导出文件。</source>
        <translation>%1 of %2 reports have an export in the exports folder.</translation>
    </message>
    <message>
        <source>选择报表导出文件所在的文件夹:</source>
        <translation>Select the folder of the report exports:</translation>
    </message>
    <message>
        <source>(全部报表)</source>
        <translation>(All reports)</translation>
    </message>
    <message>
        <source> 布局</source>
        <translation> layouts</translation>
    </message>
    <message>
        <source>*** 转换已取消，设计未改变 ***</source>
        <translation>*** Conversion cancelled; the design is unchanged ***</translation>
    </message>
    <message>
        <source>导入Access报表</source>
        <translation>Import Access Report</translation>
    </message>
</context>
<context>
    <name>Orv::ButtonEditor</name>
    <message>
        <source>选择</source>
        <translation>Choose</translation>
    </message>
    <message>
        <source>清除</source>
        <translation>Clear</translation>
    </message>
</context>
<context>
    <name>Orv::ConnectionDialog</name>
    <message>
        <source>确定[&amp;O]</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>取消[&amp;C]</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>数据链接属性</source>
        <translation>Data Link Properties</translation>
    </message>
    <message>
        <source>提供程序(&amp;P):</source>
        <translation>&amp;Provider:</translation>
    </message>
    <message>
        <source>浏览(&amp;B)...</source>
        <translation>&amp;Browse...</translation>
    </message>
    <message>
        <source>数据库文件(&amp;F):</source>
        <translation>Database &amp;file:</translation>
    </message>
    <message>
        <source>主机(&amp;H):</source>
        <translation>&amp;Host:</translation>
    </message>
    <message>
        <source>端口(&amp;O):</source>
        <translation>P&amp;ort:</translation>
    </message>
    <message>
        <source>数据库(&amp;D):</source>
        <translation>&amp;Database:</translation>
    </message>
    <message>
        <source>数据源(&amp;S):</source>
        <translation>Data &amp;source:</translation>
    </message>
    <message>
        <source>驱动程序(&amp;R):</source>
        <translation>D&amp;river:</translation>
    </message>
    <message>
        <source>在报表中保存密码(&amp;S)</source>
        <translation>&amp;Save password in the report</translation>
    </message>
    <message>
        <source>不勾选时，密码只在程序运行期间使用，不写入保存的布局文件。</source>
        <translation>Without it the password is used while the program runs but left out of saved layouts.</translation>
    </message>
    <message>
        <source>用户名(&amp;U):</source>
        <translation>&amp;User name:</translation>
    </message>
    <message>
        <source>密码(&amp;W):</source>
        <translation>Pass&amp;word:</translation>
    </message>
    <message>
        <source>连接字符串(&amp;T):</source>
        <translation>Connection s&amp;tring:</translation>
    </message>
    <message>
        <source>测试连接(&amp;T)</source>
        <translation>&amp;Test Connection</translation>
    </message>
    <message>
        <source>数据库文件</source>
        <translation>Database File</translation>
    </message>
    <message>
        <source>Access 数据库 (*.mdb *.accdb);;所有文件 (*)</source>
        <translation>Access databases (*.mdb *.accdb);;All files (*)</translation>
    </message>
    <message>
        <source>SQLite 数据库 (*.db *.sqlite *.sqlite3 *.db3);;所有文件 (*)</source>
        <translation>SQLite databases (*.db *.sqlite *.sqlite3 *.db3);;All files (*)</translation>
    </message>
    <message>
        <source>正在连接...</source>
        <translation>Connecting...</translation>
    </message>
    <message>
        <source>测试连接成功。</source>
        <translation>Test connection succeeded.</translation>
    </message>
    <message>
        <source>测试连接失败:
%1</source>
        <translation>Test connection failed:
%1</translation>
    </message>
</context>
<context>
    <name>Orv::DesignFormat</name>
    <message>
        <source>背景色</source>
        <translation>Back Color</translation>
    </message>
    <message>
        <source>前景色</source>
        <translation>Fore Color</translation>
    </message>
    <message>
        <source>线条颜色</source>
        <translation>Line Color</translation>
    </message>
    <message>
        <source>字号“%1”不是数字。</source>
        <translation>The font size &quot;%1&quot; is not a number.</translation>
    </message>
    <message>
        <source>字号必须在 1 到 1638 磅之间，%1 超出了范围。</source>
        <translation>The font size must be from 1 to 1638 points; %1 is outside that range.</translation>
    </message>
</context>
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
    <name>Orv::ExportDialogModel</name>
    <message>
        <source>溢出: %1 超出了 Long 的范围</source>
        <translation>Overflow: %1 does not fit a Long</translation>
    </message>
    <message>
        <source>没有 %1 导出过滤器</source>
        <translation>There is no %1 export filter</translation>
    </message>
</context>
<context>
    <name>Orv::ExpressionBuilderDialog</name>
    <message>
        <source>公式向导</source>
        <translation>Expression Builder</translation>
    </message>
    <message>
        <source>使用字段或属性来建立公式表达式</source>
        <translation>Build an expression from fields and properties</translation>
    </message>
    <message>
        <source>粘贴[&amp;P]</source>
        <translation>&amp;Paste</translation>
    </message>
    <message>
        <source>撤销[&amp;U]</source>
        <translation>&amp;Undo</translation>
    </message>
    <message>
        <source>Item</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Description</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确定[&amp;O]</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>取消[&amp;C]</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>帮助[&amp;H]</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>插入内容</source>
        <translation>Inserts</translation>
    </message>
    <message>
        <source>双击列表中的一项，或在其上按回车键，可将它插入到光标处；运算符按钮插入各自的运算符。表达式在输入时即被检查，按“确定”时再检查一次，并保存为控件或分组的数据字段。</source>
        <translation>Double-click an entry of the list, or press Enter on it, to insert it at the caret; the operator buttons insert their operator. The expression is checked as you type and again on OK, which stores it as the data field of the control or group.</translation>
    </message>
    <message>
        <source>%1

仍然保存此表达式吗？</source>
        <translation>%1

Store the expression anyway?</translation>
    </message>
</context>
<context>
    <name>Orv::ExpressionBuilderModel</name>
    <message>
        <source>Report</source>
        <translation type="unfinished">Report</translation>
    </message>
    <message>
        <source>Functions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Array</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Conversion</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date/Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Input/Output</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Math</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>String</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Constants</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Colors</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date Constants</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Date Formats</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TriState</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>VarTypes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Operators</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Arithmatic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comparison</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Logical</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Common Expressions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Page</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fields</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Page Number</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Page N of M</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current Date</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Current Date/Time</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>数据源的字段</source>
        <translation>A field of the data source</translation>
    </message>
    <message>
        <source>报表没有数据源。</source>
        <translation>The report has no data source.</translation>
    </message>
    <message>
        <source>正在读取数据源的字段…</source>
        <translation>Reading the fields of the data source…</translation>
    </message>
    <message>
        <source>无法读取字段: %1</source>
        <translation>The fields could not be read: %1</translation>
    </message>
    <message>
        <source>数据源没有字段。</source>
        <translation>The data source has no fields.</translation>
    </message>
    <message>
        <source>没有可用来检查表达式的报表。</source>
        <translation>There is no report to check the expression against.</translation>
    </message>
    <message>
        <source>表达式编译通过。</source>
        <translation>The expression compiles.</translation>
    </message>
    <message>
        <source>报表的脚本无法编译(第 %1 行第 %2 列): %3</source>
        <translation>The report&apos;s script does not compile (line %1, column %2): %3</translation>
    </message>
    <message>
        <source>错误 %1，第 %2 行第 %3 列: %4</source>
        <translation>Error %1 at line %2, column %3: %4</translation>
    </message>
    <message>
        <source>表达式的目标已不存在，无法保存。</source>
        <translation>The target of the expression no longer exists; nothing can be stored.</translation>
    </message>
    <message>
        <source>“%1”已不在报表中，无法保存表达式。</source>
        <translation>&quot;%1&quot; is no longer in the report; the expression cannot be stored.</translation>
    </message>
    <message>
        <source>控件“%1”没有数据字段。</source>
        <translation>The control &quot;%1&quot; takes no data field.</translation>
    </message>
    <message>
        <source>表达式长 %1 个字符，最多只能保存 %2 个。</source>
        <translation>The expression is %1 characters long; at most %2 can be stored.</translation>
    </message>
    <message>
        <source>设置数据字段</source>
        <translation>Set Data Field</translation>
    </message>
</context>
<context>
    <name>Orv::FieldList</name>
    <message>
        <source>Caption</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>报表没有数据控件: 请添加一个，并设置它的连接和查询语句。</source>
        <translation>The report has no data control: add one and set its connection and statement.</translation>
    </message>
    <message>
        <source>数据控件没有指明数据: %1</source>
        <translation>The data control names no data: %1</translation>
    </message>
    <message>
        <source>无法读取数据库: %1</source>
        <translation>The database cannot be read: %1</translation>
    </message>
    <message>
        <source>查询语句没有返回字段。</source>
        <translation>The statement returns no fields.</translation>
    </message>
    <message>
        <source>插入字段 %1</source>
        <translation>Insert Field %1</translation>
    </message>
    <message>
        <source>数据字段</source>
        <translation>Data Field</translation>
    </message>
</context>
<context>
    <name>Orv::FieldListPane</name>
    <message>
        <source>刷新</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>正在读取字段...</source>
        <translation>Reading the fields...</translation>
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
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source>字体</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>样式</source>
        <translation>Style</translation>
    </message>
    <message>
        <source>字号</source>
        <translation>Font Size</translation>
    </message>
    <message>
        <source>字段列表</source>
        <translation>Field List</translation>
    </message>
    <message>
        <source>找不到“%1”</source>
        <translation>&quot;%1&quot; was not found</translation>
    </message>
    <message>
        <source>已从头继续查找，“%1”在第 %2 页</source>
        <translation>Search continued from the beginning: &quot;%1&quot; is on page %2</translation>
    </message>
    <message>
        <source>打印设置</source>
        <translation>Print Setup</translation>
    </message>
    <message>
        <source>%1 %2
带区式报表设计器。</source>
        <translation>%1 %2
A banded-report designer.</translation>
    </message>
    <message>
        <source>命名 Test</source>
        <translation>Name Test</translation>
    </message>
    <message>
        <source>报表没有可放置计算字段的明细扇区。</source>
        <translation>The report has no detail section for the calculated field.</translation>
    </message>
    <message>
        <source>插入计算字段</source>
        <translation>Insert Calculated Field</translation>
    </message>
    <message>
        <source>错误: PrintReport</source>
        <translation>Error: PrintReport</translation>
    </message>
</context>
<context>
    <name>Orv::PageNumbersModel</name>
    <message>
        <source>Page ##</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Page ## of ##</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Page ## / ##</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>## of ##</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>## / ##</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Page Header Left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Page Header Center</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Page Header Right</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PageFooter Left</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PageFooter Center</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PageFooter Right</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Orv::PageView</name>
    <message>
        <source>第 %1 页无法显示：%2</source>
        <translation>Page %1 cannot be shown: %2</translation>
    </message>
</context>
<context>
    <name>Orv::PropertyList</name>
    <message>
        <source>按分类</source>
        <translation>Categorized</translation>
    </message>
    <message>
        <source>按分类列出属性</source>
        <translation>Group the properties by category</translation>
    </message>
    <message>
        <source>按字母</source>
        <translation>A–Z</translation>
    </message>
    <message>
        <source>按名称排序属性</source>
        <translation>Sort the properties by name</translation>
    </message>
    <message>
        <source>未选定对象</source>
        <translation>No selection</translation>
    </message>
    <message>
        <source>%1 个对象</source>
        <translation>%1 objects</translation>
    </message>
</context>
<context>
    <name>Orv::PropertyModel</name>
    <message>
        <source>外观</source>
        <translation>Appearance</translation>
    </message>
    <message>
        <source>行为</source>
        <translation>Behaviour</translation>
    </message>
    <message>
        <source>数据</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>布局</source>
        <translation>Layout</translation>
    </message>
    <message>
        <source>其他</source>
        <translation>Misc</translation>
    </message>
    <message>
        <source>属性</source>
        <translation>Property</translation>
    </message>
    <message>
        <source>值</source>
        <translation>Value</translation>
    </message>
</context>
<context>
    <name>Orv::RelateTablesModel</name>
    <message>
        <source>表关系</source>
        <translation>Relate Tables</translation>
    </message>
    <message>
        <source>此关联已在列表中。</source>
        <translation>This join is already listed.</translation>
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
    <name>Orv::ReportPropertiesModel</name>
    <message>
        <source>此打印机不提供报表的纸张(编号 %1)；除非另选纸张，否则保留原纸张。</source>
        <translation>The report&apos;s paper (number %1) is not offered by this printer; it is kept unless you choose another.</translation>
    </message>
    <message>
        <source>纸张宽度</source>
        <translation>The paper width</translation>
    </message>
    <message>
        <source>纸张高度</source>
        <translation>The paper height</translation>
    </message>
    <message>
        <source>%1必须大于 0。</source>
        <translation>%1 must be more than 0.</translation>
    </message>
    <message>
        <source>%1不能超过 %2 %3。</source>
        <translation>%1 must be at most %2 %3.</translation>
    </message>
    <message>
        <source>左边距</source>
        <translation>The left margin</translation>
    </message>
    <message>
        <source>右边距</source>
        <translation>The right margin</translation>
    </message>
    <message>
        <source>上边距</source>
        <translation>The top margin</translation>
    </message>
    <message>
        <source>下边距</source>
        <translation>The bottom margin</translation>
    </message>
    <message>
        <source>装订线</source>
        <translation>The gutter</translation>
    </message>
    <message>
        <source>%1不能为负数。</source>
        <translation>%1 cannot be negative.</translation>
    </message>
    <message>
        <source>%1太大。</source>
        <translation>%1 is too large.</translation>
    </message>
    <message>
        <source>左、右边距和装订线(合计 %1)超出了宽 %2 的纸张，没有剩余空间。</source>
        <translation>The left and right margins and the gutter (%1 together) leave no room on paper %2 wide.</translation>
    </message>
    <message>
        <source>上、下边距(合计 %1)超出了高 %2 的纸张，没有剩余空间。</source>
        <translation>The top and bottom margins (%1 together) leave no room on paper %2 high.</translation>
    </message>
    <message>
        <source>默认</source>
        <translation>Default</translation>
    </message>
    <message>
        <source>自定义</source>
        <translation>Custom</translation>
    </message>
    <message>
        <source>报表属性</source>
        <translation>Report Properties</translation>
    </message>
</context>
<context>
    <name>Orv::ScriptEditorModel</name>
    <message>
        <source>Report</source>
        <translation type="unfinished">Report</translation>
    </message>
    <message>
        <source>Edit Script</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Orv::SettingsStore</name>
    <message>
        <source>无法读取设置文件 %1，使用默认设置。</source>
        <translation>The settings file %1 cannot be read; defaults are used.</translation>
    </message>
    <message>
        <source>设置文件 %1 已损坏，使用默认设置，该文件保持原样。</source>
        <translation>The settings file %1 is damaged; defaults are used and it is left as it is.</translation>
    </message>
    <message>
        <source>无法写入设置文件 %1。</source>
        <translation>The settings file %1 cannot be written.</translation>
    </message>
</context>
<context>
    <name>Orv::SortingGroupingDialog</name>
    <message>
        <source>排序和分组</source>
        <translation>Sorting and Grouping</translation>
    </message>
    <message>
        <source>排序和分组选项</source>
        <translation>Sorting and Grouping</translation>
    </message>
    <message>
        <source>设置报表分组选项和报表字段排序</source>
        <translation>Set the grouping options and the field sort order of the report</translation>
    </message>
    <message>
        <source>前分页</source>
        <translation>Page break before</translation>
    </message>
    <message>
        <source>后分页</source>
        <translation>Page break after</translation>
    </message>
    <message>
        <source>字段/表达式:</source>
        <translation>Field/Expression:</translation>
    </message>
    <message>
        <source>排序:</source>
        <translation>Sort order:</translation>
    </message>
    <message>
        <source>组不分页:</source>
        <translation>Keep together:</translation>
    </message>
    <message>
        <source>分组:</source>
        <translation>Group on:</translation>
    </message>
    <message>
        <source>分组间隔:</source>
        <translation>Group interval:</translation>
    </message>
    <message>
        <source>确定[&amp;O]</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>取消[&amp;C]</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>建立表达式</source>
        <translation>Build the expression</translation>
    </message>
    <message>
        <source>记录按报表查询语句的顺序排列</source>
        <translation>The rows come in the order of the report&apos;s statement</translation>
    </message>
    <message>
        <source>“%1”的表达式无法编译:
%2

仍然保存吗？</source>
        <translation>The expression of &quot;%1&quot; does not compile:
%2

Store it anyway?</translation>
    </message>
</context>
<context>
    <name>Orv::SortingGroupingModel</name>
    <message>
        <source>Group Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>FieldExpr</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>SortOrder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GroupOn</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GroupInterval</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>GrpKeepTogether</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PageBreak</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A - Ascending</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>D - Descending</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Year</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quarter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Month</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Week</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Day</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Minute</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Interval</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>0 - Do Not Keep Together</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>1 - With First Detail</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2 - All Group Records</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>每一个值</source>
        <translation>Each Value</translation>
    </message>
    <message>
        <source>前缀字符</source>
        <translation>Prefix Characters</translation>
    </message>
    <message>
        <source>分组“%1”已不在报表中。</source>
        <translation>The group &quot;%1&quot; is no longer in the report.</translation>
    </message>
    <message>
        <source>分组“%1”的分组间隔必须是不小于 1 的整数。</source>
        <translation>The group interval of &quot;%1&quot; must be a whole number of at least 1.</translation>
    </message>
    <message>
        <source>排序和分组</source>
        <translation>Sorting and Grouping</translation>
    </message>
</context>
<context>
    <name>Orv::TocModel</name>
    <message>
        <source>第 %1 页</source>
        <translation>Page %1</translation>
    </message>
</context>
<context>
    <name>Orv::TopicDialog</name>
    <message>
        <source>确定[&amp;O]</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>取消[&amp;C]</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>Orv::Viewer</name>
    <message>
        <source>正在打印…</source>
        <translation>Printing...</translation>
    </message>
    <message>
        <source>取消</source>
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
    <name>Orv::WizardFlow</name>
    <message>
        <source>向导</source>
        <translation>Wizard</translation>
    </message>
    <message>
        <source>(None)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>数据库已打开，但其中没有可用于报表的表。</source>
        <translation>The database opened but holds no tables to report on.</translation>
    </message>
    <message>
        <source>错误: AddSelectedField</source>
        <translation>Error: AddSelectedField</translation>
    </message>
    <message>
        <source>以下字段存放的是报表无法显示的二进制数据，已被略去:
%1</source>
        <translation>These fields hold binary data that a report cannot show and were left out:
%1</translation>
    </message>
    <message>
        <source>错误: GroupFields.Add</source>
        <translation>Error: GroupFields.Add</translation>
    </message>
</context>
<context>
    <name>Orv::frmAccessToOrv</name>
    <message>
        <source>转换报表</source>
        <translation>Convert Reports</translation>
    </message>
    <message>
        <source>Access报表导入系统 2.0</source>
        <translation>Access Report Import 2.0</translation>
    </message>
    <message>
        <source>开始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>数据库</source>
        <translation>Database</translation>
    </message>
    <message>
        <source>报表</source>
        <translation>Reports</translation>
    </message>
    <message>
        <source>选项</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>转换</source>
        <translation>Convert</translation>
    </message>
    <message>
        <source>完成</source>
        <translation>Finish</translation>
    </message>
    <message>
        <source>&lt; 后退[&amp;B]</source>
        <translation>&lt; &amp;Back</translation>
    </message>
    <message>
        <source>前进 &gt;[&amp;F]</source>
        <translation>&amp;Next &gt;</translation>
    </message>
    <message>
        <source>完成[&amp;E]</source>
        <translation>&amp;Finish</translation>
    </message>
    <message>
        <source>取消[&amp;C]</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>This wizard assists you in converting your Microsoft Access 2000 Reports to OrvReport format.  The converted files can be loaded into OrvReport designer for further modifications.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Press the Next button to start.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reports Database</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Select the reports that you want to convert</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reports Path</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Report Path is Not used in Tesserane Reports</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fonts Charset</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Comment Module Text</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Strip sourcecode (typedecls, handler prefixes)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Use ADO for Data Control instead of DAO</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Convert MSGraph Chart Controls</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save to Binary Format</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Press the Next button to start converting selected reports.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Converting Reports</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>报表导出文件所在的文件夹</source>
        <translation>Folder of the report exports</translation>
    </message>
    <message>
        <source>这里不运行Access，每个报表的设计从Access为它生成的文本导出文件中读取。在Access的立即窗口中用下面的语句导出一个报表:
    SaveAsText acReport, &quot;Invoice&quot;, &quot;C:\Exports\Invoice.txt&quot;
或者用一个模块对 CurrentProject.AllReports 中的每个报表调用 SaveAsText，全部导出。把这些文件放在此文件夹中(留空时为数据库旁边与数据库同名的文件夹)。</source>
        <translation>Access does not run here, so each report&apos;s design is read from the text export Access makes of it. In Access, export a report from the Immediate window with
    SaveAsText acReport, &quot;Invoice&quot;, &quot;C:\Exports\Invoice.txt&quot;
or export them all with a module that calls SaveAsText for each report of CurrentProject.AllReports. Put the files in this folder (left empty: the folder beside the database named like it).</translation>
    </message>
    <message>
        <source>选中的报表会转换到设计器中；要把勾选的报表全部转换为布局文件，请在下一页勾选“将勾选的报表全部转换为报表路径中的布局文件”。</source>
        <translation>The highlighted report is converted into the designer; to convert every ticked report into layout files, tick &quot;Convert all checked reports&quot; on the next page.</translation>
    </message>
    <message>
        <source>将勾选的报表全部转换为报表路径中的布局文件</source>
        <translation>Convert all checked reports into layout files in the reports path</translation>
    </message>
    <message>
        <source>布局文件写入此文件夹。</source>
        <translation>The layouts are written into this folder.</translation>
    </message>
    <message>
        <source>%1 (无导出文件)</source>
        <translation>%1 (no export)</translation>
    </message>
</context>
<context>
    <name>Orv::frmDataSource</name>
    <message>
        <source>报表数据源</source>
        <translation>Report Data Source</translation>
    </message>
    <message>
        <source>设置数据源，字段，格式等</source>
        <translation>Set the data source, fields, formats and more</translation>
    </message>
    <message>
        <source>Connection</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fields</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Relate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sort</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Filter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  连接</source>
        <translation>  Connection</translation>
    </message>
    <message>
        <source>连接数据源字符串</source>
        <translation>Connection string of the data source</translation>
    </message>
    <message>
        <source>连接...</source>
        <translation>Connect...</translation>
    </message>
    <message>
        <source>确定[&amp;O]</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>取消[&amp;C]</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>Orv::frmExport</name>
    <message>
        <source>输出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>请选择一个输出文件格式</source>
        <translation>Choose an export file format</translation>
    </message>
    <message>
        <source>输出格式</source>
        <translation>Export Format</translation>
    </message>
    <message>
        <source>输出选项</source>
        <translation>Export Options</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>浏览</source>
        <translation>Browse</translation>
    </message>
    <message>
        <source>文件名:</source>
        <translation>File name:</translation>
    </message>
    <message>
        <source>文档版本:</source>
        <translation>Document version:</translation>
    </message>
    <message>
        <source>JPG 质量:</source>
        <translation>JPEG quality:</translation>
    </message>
    <message>
        <source>不嵌入的字体:</source>
        <translation>Fonts not to embed:</translation>
    </message>
    <message>
        <source>文件前缀:</source>
        <translation>File prefix:</translation>
    </message>
    <message>
        <source>网页路径:</source>
        <translation>Pages folder:</translation>
    </message>
    <message>
        <source>Select the HTML pages folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>HTML Folder Select Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>图标路径:</source>
        <translation>Images folder:</translation>
    </message>
    <message>
        <source>Select the HTML images folder</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Images Folder Select Error</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>字符集:</source>
        <translation>Character set:</translation>
    </message>
    <message>
        <source>标题:</source>
        <translation>Title:</translation>
    </message>
    <message>
        <source>网页格式:</source>
        <translation>HTML version:</translation>
    </message>
    <message>
        <source>目录格式:</source>
        <translation>Contents format:</translation>
    </message>
    <message>
        <source>建立CSS层</source>
        <translation>Create CSS layers</translation>
    </message>
    <message>
        <source>建立Frames框架</source>
        <translation>Create frameset</translation>
    </message>
    <message>
        <source>建立 MIME 存档</source>
        <translation>Create MIME archive</translation>
    </message>
    <message>
        <source>单网页输出</source>
        <translation>Single page output</translation>
    </message>
    <message>
        <source>版本:</source>
        <translation>Version:</translation>
    </message>
    <message>
        <source>缇</source>
        <translation>twips</translation>
    </message>
    <message>
        <source>边框空格:</source>
        <translation>Border space:</translation>
    </message>
    <message>
        <source>最小列宽:</source>
        <translation>Min. column width:</translation>
    </message>
    <message>
        <source>最小行高:</source>
        <translation>Min. row height:</translation>
    </message>
    <message>
        <source>自动行高</source>
        <translation>Auto row height</translation>
    </message>
    <message>
        <source>双边界</source>
        <translation>Double boundaries</translation>
    </message>
    <message>
        <source>产生分页符</source>
        <translation>Generate page breaks</translation>
    </message>
    <message>
        <source>生成多个工作表</source>
        <translation>Multiple worksheets</translation>
    </message>
    <message>
        <source>显示缘空间</source>
        <translation>Show margin space</translation>
    </message>
    <message>
        <source>去掉空格</source>
        <translation>Trim empty space</translation>
    </message>
    <message>
        <source>文字定界符:</source>
        <translation>Text delimiter:</translation>
    </message>
    <message>
        <source>禁止空行</source>
        <translation>Suppress empty lines</translation>
    </message>
    <message>
        <source>Unicode</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>输出已取消，没有写入文件。</source>
        <translation>Export cancelled; no file was written.</translation>
    </message>
    <message>
        <source>Error Exporting Document</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>所选的文件夹没有路径</source>
        <translation>The folder chosen has no path</translation>
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
    <name>Orv::frmGroupOptions</name>
    <message>
        <source>分组属性</source>
        <translation>Group Options</translation>
    </message>
    <message>
        <source>请设置你要分组的字段</source>
        <translation>Set how each field is grouped</translation>
    </message>
    <message>
        <source>确定[&amp;O]</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>取消[&amp;C]</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>Orv::frmOptions</name>
    <message>
        <source>选项</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>报表选项</source>
        <translation>Report Options</translation>
    </message>
    <message>
        <source>修改报表缺省设置项</source>
        <translation>Change the default settings of reports</translation>
    </message>
    <message>
        <source>样式</source>
        <translation>Styles</translation>
    </message>
    <message>
        <source>新建[&amp;N]</source>
        <translation>&amp;New</translation>
    </message>
    <message>
        <source>删除[&amp;D]</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>  网格设置</source>
        <translation>  Grid Settings</translation>
    </message>
    <message>
        <source>显示网格</source>
        <translation>Show Grid</translation>
    </message>
    <message>
        <source>控件对齐网格</source>
        <translation>Snap Controls to Grid</translation>
    </message>
    <message>
        <source>单位</source>
        <translation>Units</translation>
    </message>
    <message>
        <source>英制(英寸)</source>
        <translation>US (Inches)</translation>
    </message>
    <message>
        <source>公制(厘米)</source>
        <translation>Metric (cm.)</translation>
    </message>
    <message>
        <source>行</source>
        <translation>Rows</translation>
    </message>
    <message>
        <source>网格设置</source>
        <translation>Grid Settings</translation>
    </message>
    <message>
        <source>正文</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>标题 1</source>
        <translation>Heading 1</translation>
    </message>
    <message>
        <source>标题 2</source>
        <translation>Heading 2</translation>
    </message>
    <message>
        <source>标题 3</source>
        <translation>Heading 3</translation>
    </message>
</context>
<context>
    <name>Orv::frmPageNumbers</name>
    <message>
        <source>页码</source>
        <translation>Page Numbers</translation>
    </message>
    <message>
        <source>向报表加入一个新页码</source>
        <translation>Add a page number to the report</translation>
    </message>
    <message>
        <source>样式</source>
        <translation>Style</translation>
    </message>
    <message>
        <source>定位:</source>
        <translation>Position:</translation>
    </message>
    <message>
        <source>确定[&amp;O]</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>取消[&amp;C]</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>Error: AddPageNumber</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>Orv::frmProperties</name>
    <message>
        <source>属性</source>
        <translation>Properties</translation>
    </message>
    <message>
        <source>  属性</source>
        <translation>  Properties</translation>
    </message>
    <message>
        <source>填充属性设置</source>
        <translation>Fill in the property settings</translation>
    </message>
</context>
<context>
    <name>Orv::frmRelateTables</name>
    <message>
        <source>表关系</source>
        <translation>Relate Tables</translation>
    </message>
    <message>
        <source>你可以选择多个表。  选择一个主表和多个外部关键字表建立关系</source>
        <translation>You can select more than one table.  Choose a primary table and one or more foreign key tables to relate to it</translation>
    </message>
    <message>
        <source>增加[&amp;A]</source>
        <translation>&amp;Add</translation>
    </message>
    <message>
        <source>移除[&amp;R]</source>
        <translation>&amp;Remove</translation>
    </message>
    <message>
        <source>确定[&amp;O]</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>取消[&amp;C]</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>Orv::frmReportProperties</name>
    <message>
        <source>报表属性</source>
        <translation>Report Properties</translation>
    </message>
    <message>
        <source>填写报表设置项</source>
        <translation>Fill in the report settings</translation>
    </message>
    <message>
        <source>打印选项</source>
        <translation>Print Options</translation>
    </message>
    <message>
        <source>纸张大小</source>
        <translation>Paper Size</translation>
    </message>
    <message>
        <source>页边距</source>
        <translation>Margins</translation>
    </message>
    <message>
        <source>打印质量</source>
        <translation>Orientation</translation>
    </message>
    <message>
        <source>纸张处理</source>
        <translation>Paper Handling</translation>
    </message>
    <message>
        <source>报表选项</source>
        <translation>Report Options</translation>
    </message>
    <message>
        <source>文档名称</source>
        <translation>Document Name</translation>
    </message>
    <message>
        <source>摘要</source>
        <translation>Summary</translation>
    </message>
    <message>
        <source>安全</source>
        <translation>Security</translation>
    </message>
    <message>
        <source>组织</source>
        <translation>Organization</translation>
    </message>
    <message>
        <source>用户</source>
        <translation>Users</translation>
    </message>
    <message>
        <source>  纸张设置</source>
        <translation>  Paper Settings</translation>
    </message>
    <message>
        <source>纸张大小:</source>
        <translation>Paper size:</translation>
    </message>
    <message>
        <source>宽:</source>
        <translation>Width:</translation>
    </message>
    <message>
        <source>高:</source>
        <translation>Height:</translation>
    </message>
    <message>
        <source>没有安装打印机，列出的是标准纸张大小。</source>
        <translation>No printer is installed; the standard paper sizes are listed.</translation>
    </message>
    <message>
        <source>打印机 %1 的纸张大小。</source>
        <translation>Paper sizes of the printer %1.</translation>
    </message>
    <message>
        <source>  页边距设置</source>
        <translation>  Margin Settings</translation>
    </message>
    <message>
        <source>左</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>右</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>上</source>
        <translation>Top</translation>
    </message>
    <message>
        <source>下</source>
        <translation>Bottom</translation>
    </message>
    <message>
        <source>行隔</source>
        <translation>Gutter</translation>
    </message>
    <message>
        <source>  打印质量</source>
        <translation>  Orientation</translation>
    </message>
    <message>
        <source>打印机默认</source>
        <translation>Printer Default</translation>
    </message>
    <message>
        <source>照片</source>
        <translation>Portrait</translation>
    </message>
    <message>
        <source>景观</source>
        <translation>Landscape</translation>
    </message>
    <message>
        <source>  文件处理</source>
        <translation>  Paper Handling</translation>
    </message>
    <message>
        <source>纸本:</source>
        <translation>Paper source:</translation>
    </message>
    <message>
        <source>整理:</source>
        <translation>Collate:</translation>
    </message>
    <message>
        <source>全双工:</source>
        <translation>Duplex:</translation>
    </message>
    <message>
        <source>  文档名称</source>
        <translation>  Document Name</translation>
    </message>
    <message>
        <source>报告文件的名称将出现在打印机工作任务中</source>
        <translation>The document name is shown in the printer&apos;s job list</translation>
    </message>
    <message>
        <source>  概述</source>
        <translation>  Summary</translation>
    </message>
    <message>
        <source>作者: </source>
        <translation>Author: </translation>
    </message>
    <message>
        <source>公司:</source>
        <translation>Company:</translation>
    </message>
    <message>
        <source>部门:</source>
        <translation>Department:</translation>
    </message>
    <message>
        <source>级别:</source>
        <translation>Category:</translation>
    </message>
    <message>
        <source>关键字:</source>
        <translation>Keywords:</translation>
    </message>
    <message>
        <source>  组织</source>
        <translation>  Organization</translation>
    </message>
    <message>
        <source>  用户</source>
        <translation>  Users</translation>
    </message>
    <message>
        <source>对称页边距</source>
        <translation>Mirror Margins</translation>
    </message>
</context>
<context>
    <name>Orv::frmReportWizard</name>
    <message>
        <source>向导</source>
        <translation>Wizard</translation>
    </message>
    <message>
        <source>开始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>数据库</source>
        <translation>Database</translation>
    </message>
    <message>
        <source>字段</source>
        <translation>Fields</translation>
    </message>
    <message>
        <source>分组</source>
        <translation>Grouping</translation>
    </message>
    <message>
        <source>排序</source>
        <translation>Sorting</translation>
    </message>
    <message>
        <source>样式</source>
        <translation>Style</translation>
    </message>
    <message>
        <source>标题</source>
        <translation>Title</translation>
    </message>
    <message>
        <source>摘要</source>
        <translation>Summary</translation>
    </message>
    <message>
        <source>&lt; 上一步[&amp;B]</source>
        <translation>&lt; &amp;Back</translation>
    </message>
    <message>
        <source>下一步[&amp;N] &gt;</source>
        <translation>&amp;Next &gt;</translation>
    </message>
    <message>
        <source>完成[&amp;E]</source>
        <translation>&amp;Finish</translation>
    </message>
    <message>
        <source>取消[&amp;C]</source>
        <translation>&amp;Cancel</translation>
    </message>
    <message>
        <source>自定义报表向导</source>
        <translation>Custom Report Wizard</translation>
    </message>
    <message>
        <source>本向导将根据您的每一步设置的参数，最后生成一个新的报表。</source>
        <translation>This wizard builds a new report from the settings you make at each step.</translation>
    </message>
    <message>
        <source>数据库连接字符串:</source>
        <translation>Database connection string:</translation>
    </message>
    <message>
        <source>连接向导</source>
        <translation>Connection Wizard</translation>
    </message>
    <message>
        <source>输入ADO连接字符串，用以连接您所需要的数据源。或者点击右边【连接向导】按钮，使用数据源连接向导。</source>
        <translation>Enter the connection string of the data source you need, or click the Connection Wizard button on the right to build it with the data source connection wizard.</translation>
    </message>
    <message>
        <source>你的报表需要显示哪些字段，您可以从一个以上的表或查询选择产生。</source>
        <translation>Which fields do you want on your report? You can choose from more than one table or query.</translation>
    </message>
    <message>
        <source>显示系统表</source>
        <translation>Show system tables</translation>
    </message>
    <message>
        <source>是否需要增加汇总统计字段？</source>
        <translation>Do you want to add any grouping levels?</translation>
    </message>
    <message>
        <source>优先</source>
        <translation>Priority</translation>
    </message>
    <message>
        <source>分组选项...</source>
        <translation>Grouping Options...</translation>
    </message>
    <message>
        <source>您可以分类信息最多4个字段，进行升序或降序排列。</source>
        <translation>You can sort the records by up to four fields, in ascending or descending order.</translation>
    </message>
    <message>
        <source>升序</source>
        <translation>Ascending</translation>
    </message>
    <message>
        <source>降序</source>
        <translation>Descending</translation>
    </message>
    <message>
        <source>对于您的详细记录，您可以选择参与排序或汇总的字段。</source>
        <translation>For the detail records, you can choose the fields to sort or summarize by.</translation>
    </message>
    <message>
        <source>&amp;Bold</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Casual</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>C&amp;ompact</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Co&amp;rporate</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Formal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Soft Gray</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请输入报表标题名称</source>
        <translation>Enter a title for the report</translation>
    </message>
    <message>
        <source>报表摘要</source>
        <translation>Report Summary</translation>
    </message>
    <message>
        <source>向导收集到了您所要创建报表的所有参数信息，我们将根据这些参数来生成您所要的报表。当然您也可以在生成报表后，用本系统打开并修改该报表。</source>
        <translation>The wizard has collected all the settings for your report and will now build it from them. After it is built you can open and change the report in the designer.</translation>
    </message>
    <message>
        <source>报表向导</source>
        <translation>Report Wizard</translation>
    </message>
    <message>
        <source>正在连接数据库并读取表...</source>
        <translation>Connecting to the database and reading the tables...</translation>
    </message>
</context>
<context>
    <name>Orv::frmScriptEditor</name>
    <message>
        <source>脚本编辑</source>
        <translation>Script Editor</translation>
    </message>
    <message>
        <source>Match case</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Whole words</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find Next</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replace</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replace All</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Find:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replace with:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Check</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Compile the script shown (F7)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: no errors.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Line %1, column %2: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&quot;%1&quot; was not found.</source>
        <translation type="unfinished"></translation>
    </message>
    <message numerus="yes">
        <source>%n replacement(s).</source>
        <translation type="unfinished">
            <numerusform></numerusform>
            <numerusform></numerusform>
        </translation>
    </message>
    <message>
        <source>Discard the changes made to the scripts?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Report Title</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Name</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Amount</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>城市</source>
        <translation>City</translation>
    </message>
</context>
<context>
    <name>UiDesignerPrompts</name>
    <message>
        <source>透明</source>
        <translation>Transparent</translation>
    </message>
    <message>
        <source>实线</source>
        <translation>Solid</translation>
    </message>
    <message>
        <source>虚线</source>
        <translation>Dash</translation>
    </message>
    <message>
        <source>点线</source>
        <translation>Dot</translation>
    </message>
    <message>
        <source>点划线</source>
        <translation>Dash-Dot</translation>
    </message>
    <message>
        <source>双点划线</source>
        <translation>Dash-Dot-Dot</translation>
    </message>
    <message>
        <source>背景色</source>
        <translation>Back Colour</translation>
    </message>
    <message>
        <source>线条颜色</source>
        <translation>Line Colour</translation>
    </message>
    <message>
        <source>前景色</source>
        <translation>Fore Colour</translation>
    </message>
    <message>
        <source>字号(磅):</source>
        <translation>Size (points):</translation>
    </message>
    <message>
        <source>字号</source>
        <translation>Font Size</translation>
    </message>
    <message>
        <source>样式:</source>
        <translation>Style:</translation>
    </message>
    <message>
        <source>样式</source>
        <translation>Style</translation>
    </message>
    <message>
        <source>线型:</source>
        <translation>Line style:</translation>
    </message>
    <message>
        <source>线型</source>
        <translation>Line Style</translation>
    </message>
    <message>
        <source>调整分组顺序</source>
        <translation>Reorder Groups</translation>
    </message>
    <message>
        <source>数据字段:</source>
        <translation>Data field:</translation>
    </message>
    <message>
        <source>插入字段</source>
        <translation>Insert Field</translation>
    </message>
</context>
<context>
    <name>UiPropertyDialogs</name>
    <message>
        <source>颜色</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>图片</source>
        <translation>Picture</translation>
    </message>
    <message>
        <source>图片 (%1);;所有文件 (*)</source>
        <translation>Pictures (%1);;All files (*)</translation>
    </message>
    <message>
        <source>错误: 属性值</source>
        <translation>Error: Property Value</translation>
    </message>
</context>
<context>
    <name>WidgetUi</name>
    <message>
        <source>无</source>
        <translation>None</translation>
    </message>
    <message>
        <source>实线</source>
        <translation>Solid</translation>
    </message>
    <message>
        <source>虚线</source>
        <translation>Dash</translation>
    </message>
    <message>
        <source>点线</source>
        <translation>Dot</translation>
    </message>
    <message>
        <source>点划线</source>
        <translation>Dash-Dot</translation>
    </message>
    <message>
        <source>双点划线</source>
        <translation>Dash-Dot-Dot</translation>
    </message>
    <message>
        <source>双线</source>
        <translation>Double</translation>
    </message>
    <message>
        <source>粗实线</source>
        <translation>Thick Solid</translation>
    </message>
    <message>
        <source>粗虚线</source>
        <translation>Thick Dash</translation>
    </message>
    <message>
        <source>粗点线</source>
        <translation>Thick Dot</translation>
    </message>
    <message>
        <source>粗点划线</source>
        <translation>Thick Dash-Dot</translation>
    </message>
    <message>
        <source>粗双点划线</source>
        <translation>Thick Dash-Dot-Dot</translation>
    </message>
    <message>
        <source>粗双线</source>
        <translation>Thick Double</translation>
    </message>
    <message>
        <source>特粗实线</source>
        <translation>Extra Thick Solid</translation>
    </message>
    <message>
        <source>颜色</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>上移</source>
        <translation>Move Up</translation>
    </message>
    <message>
        <source>下移</source>
        <translation>Move Down</translation>
    </message>
    <message>
        <source>边框</source>
        <translation>Border</translation>
    </message>
    <message>
        <source>左</source>
        <translation>Left</translation>
    </message>
    <message>
        <source>上</source>
        <translation>Top</translation>
    </message>
    <message>
        <source>右</source>
        <translation>Right</translation>
    </message>
    <message>
        <source>下</source>
        <translation>Bottom</translation>
    </message>
    <message>
        <source>边框线:</source>
        <translation>Sides:</translation>
    </message>
    <message>
        <source>样式:</source>
        <translation>Style:</translation>
    </message>
    <message>
        <source>颜色...</source>
        <translation>Colour...</translation>
    </message>
    <message>
        <source>边框颜色</source>
        <translation>Border Colour</translation>
    </message>
    <message>
        <source>颜色:</source>
        <translation>Colour:</translation>
    </message>
</context>
<context>
    <name>frmExport</name>
    <message>
        <source>Rich文本文件 (RTF)</source>
        <translation>Rich Text Format (RTF)</translation>
    </message>
    <message>
        <source>PDF文件 (PDF)</source>
        <translation>PDF Document (PDF)</translation>
    </message>
    <message>
        <source>HTML网页</source>
        <translation>HTML Web Page</translation>
    </message>
    <message>
        <source>电子表格 (XLS)</source>
        <translation>Spreadsheet (XLS)</translation>
    </message>
    <message>
        <source>Tif图片 (TIF)</source>
        <translation>TIFF Image (TIF)</translation>
    </message>
    <message>
        <source>文本文件</source>
        <translation>Text File</translation>
    </message>
    <message>
        <source>Rich Text Format (*.RTF)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Portable Document Format (*.pdf)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Microsoft Excel Workbook (*.xlsx)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Microsoft Excel Document (*.xls)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tagged Image Format (*.tif)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Text Document (*.txt)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmOptions</name>
    <message>
        <source>“%1”不是行数：请输入 1 到 100 的整数。</source>
        <translation>&quot;%1&quot; is not a number of rows: type a whole number from 1 to 100.</translation>
    </message>
</context>
<context>
    <name>frmPageNumbers</name>
    <message>
        <source>The field control cannot be created.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Insert Page Number</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>frmProperties</name>
    <message>
        <source>%1属性</source>
        <translation>%1 Properties</translation>
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
    <name>miERedo</name>
    <message>
        <source>重做[&amp;R]</source>
        <translation>&amp;Redo</translation>
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
    <name>miESelectAll</name>
    <message>
        <source>全选[&amp;A]</source>
        <translation>Select &amp;All</translation>
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
    <name>miIChart</name>
    <message>
        <source>图表[&amp;H]</source>
        <translation>C&amp;hart</translation>
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
    <name>tbxChart</name>
    <message>
        <source>图表</source>
        <translation>Chart</translation>
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
