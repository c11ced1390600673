# cmake -DSOURCE=shell/actioncatalogue.cpp -DOUTPUT=<file.cpp> -P catalogue.cmake
#
# The action catalogue's captions and tooltips are data: each is written
# beside its menu, item, bar or button name, as item("miFOpen", "打开...[&O]",
# ...) or {QStringLiteral("mnuFile"), QStringLiteral("文件[&F]"), ...}, and
# the window translates it in the context of that name. This writes them out
# as QT_TRANSLATE_NOOP(name, text) lines for lupdate to read; the file is
# never compiled.
file(READ ${SOURCE} text)
set(ws "[ \t\r\n]*")
set(str "\"([^\"\\\\]|\\\\.)*\"")
set(out "// Made by translations/catalogue.cmake for lupdate; not compiled.\n")
string(REGEX MATCHALL "(item|submenu|button|tagged|vu)\\(${ws}\"[A-Za-z0-9_]+\",${ws}${str}" calls "${text}")
string(REGEX MATCHALL "{QStringLiteral\\(\"[A-Za-z0-9_]+\"\\),${ws}QStringLiteral\\(${str}\\)" titles "${text}")
set(count 0)
foreach(call IN LISTS calls titles)
  string(REGEX REPLACE "^[^\"]*(\"[A-Za-z0-9_]+\")\\)?,${ws}(QStringLiteral\\()?(${str}).*$" "\\1, \\3" pair "${call}")
  string(APPEND out "QT_TRANSLATE_NOOP(${pair});\n")
  math(EXPR count "${count} + 1")
endforeach()
if(count EQUAL 0)
  message(FATAL_ERROR "No captions found in ${SOURCE}")
endif()
file(WRITE ${OUTPUT} "${out}")
