#pragma once
// The objects CreateObject may make, and the small objects the host adds.
#include "engine/script/bridge.h"

namespace Orv::Script {

// The whitelist: Scripting.Dictionary, VBScript.RegExp, ADODB.Connection,
// ADODB.Recordset and OrvEngine.Report. Anything else raises 429.
Variant createObject(Runtime &rt, const QString &progId, const std::shared_ptr<BridgeContext> &context);
QStringList creatableObjects();

std::shared_ptr<Object> makeDictionary();
std::shared_ptr<Object> makeRegExp();
std::shared_ptr<Object> makeAdoConnection(const std::shared_ptr<BridgeContext> &context);
std::shared_ptr<Object> makeAdoRecordset(const std::shared_ptr<BridgeContext> &context);

// "Pages" of the expression builder: Pages.Count is the page count.
std::shared_ptr<Object> pagesObject(const std::shared_ptr<BridgeContext> &context);

} // namespace Orv::Script
