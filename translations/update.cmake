# cmake -DLUPDATE=<lupdate> -DSOURCE_DIR=<tree> -DTS=<file.ts> -DWORK=<folder> -P update.cmake
#
# Adds the texts of the tree's sources to TS and drops the ones no longer
# there, keeping every translation made. The `translations` target runs it
# on translations/orvreport_en.ts; tst_translation on a copy, to name the
# texts still without English.
if(NOT LUPDATE)
  message(FATAL_ERROR "Say which lupdate to run: -DLUPDATE=<path> (qt6-l10n-tools)")
endif()
set(catalogue ${WORK}/catalogue-texts.cpp)
execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE=${SOURCE_DIR}/shell/actioncatalogue.cpp -DOUTPUT=${catalogue}
                        -P ${CMAKE_CURRENT_LIST_DIR}/catalogue.cmake
                COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${LUPDATE} -silent -I . -locations none -no-obsolete -no-ui-lines -recursive -extensions cpp,h
                        engine ui shell dialogs wizard accessimport app ${catalogue} -ts ${TS}
                WORKING_DIRECTORY ${SOURCE_DIR}
                COMMAND_ERROR_IS_FATAL ANY)
