#include "engine/data/driver.h"

#include <QRegularExpression>

namespace Orv::Data {

int adoTypeFromDeclared(const QString &declared, int *size)
{
    static const QRegularExpression sized(QStringLiteral("^\\s*([A-Za-z0-9 _]+?)\\s*\\(\\s*(\\d+)\\s*(?:,\\s*\\d+\\s*)?\\)"));
    QString base = declared.trimmed().toLower();
    int length = 0;
    const auto m = sized.match(base);
    if (m.hasMatch()) {
        base = m.captured(1);
        length = m.captured(2).toInt();
    }
    base.remove(QStringLiteral(" not null"));
    base = base.simplified();
    if (size)
        *size = 0;
    const auto text = [&](int type) {
        if (size)
            *size = length;
        return type;
    };
    // Whole words first, then the patterns SQLite's type affinity uses.
    static const QHash<QString, int> exact = {
        {QStringLiteral("integer"), adInteger},       {QStringLiteral("int"), adInteger},
        {QStringLiteral("int4"), adInteger},          {QStringLiteral("long integer"), adInteger},
        {QStringLiteral("long"), adInteger},          {QStringLiteral("serial"), adInteger},
        {QStringLiteral("mediumint"), adInteger},     {QStringLiteral("smallint"), adSmallInt},
        {QStringLiteral("int2"), adSmallInt},         {QStringLiteral("short"), adSmallInt},
        {QStringLiteral("tinyint"), adUnsignedTinyInt}, {QStringLiteral("byte"), adUnsignedTinyInt},
        {QStringLiteral("bigint"), adBigInt},         {QStringLiteral("int8"), adBigInt},
        {QStringLiteral("bigserial"), adBigInt},      {QStringLiteral("real"), adSingle},
        {QStringLiteral("float4"), adSingle},         {QStringLiteral("single"), adSingle},
        {QStringLiteral("double"), adDouble},         {QStringLiteral("double precision"), adDouble},
        {QStringLiteral("float"), adDouble},          {QStringLiteral("float8"), adDouble},
        {QStringLiteral("money"), adCurrency},        {QStringLiteral("currency"), adCurrency},
        {QStringLiteral("decimal"), adDecimal},       {QStringLiteral("numeric"), adNumeric},
        {QStringLiteral("boolean"), adBoolean},       {QStringLiteral("bool"), adBoolean},
        {QStringLiteral("bit"), adBoolean},           {QStringLiteral("yes/no"), adBoolean},
        {QStringLiteral("date"), adDate},             {QStringLiteral("datetime"), adDate},
        {QStringLiteral("timestamp"), adDBTimeStamp}, {QStringLiteral("timestamp without time zone"), adDBTimeStamp},
        {QStringLiteral("timestamp with time zone"), adDBTimeStamp}, {QStringLiteral("timestamptz"), adDBTimeStamp},
        {QStringLiteral("time"), adDBTime},           {QStringLiteral("time without time zone"), adDBTime},
        {QStringLiteral("uuid"), adGUID},             {QStringLiteral("guid"), adGUID},
        {QStringLiteral("replication id"), adGUID},   {QStringLiteral("uniqueidentifier"), adGUID},
        {QStringLiteral("blob"), adBinary},           {QStringLiteral("bytea"), adBinary},
        {QStringLiteral("ole"), adBinary},            {QStringLiteral("binary"), adBinary},
        {QStringLiteral("varbinary"), adVarBinary},   {QStringLiteral("image"), adBinary},
        {QStringLiteral("memo"), adLongVarWChar},     {QStringLiteral("hyperlink"), adLongVarWChar},
        {QStringLiteral("text"), adLongVarWChar},     {QStringLiteral("clob"), adLongVarWChar},
        {QStringLiteral("ntext"), adLongVarWChar},    {QStringLiteral("longtext"), adLongVarWChar},
    };
    const auto it = exact.constFind(base);
    if (it != exact.cend()) {
        // "Text (40)" in Access, "text" elsewhere: a length makes it bounded.
        if (*it == adLongVarWChar && length > 0)
            return text(adVarWChar);
        if (*it == adNumeric || *it == adDecimal)
            return *it;
        return *it;
    }
    if (base == QLatin1String("char") || base == QLatin1String("character") || base == QLatin1String("nchar")
        || base == QLatin1String("bpchar"))
        return text(adChar);
    if (base.contains(QLatin1String("char")) || base.contains(QLatin1String("string")))
        return length > 0 ? text(adVarWChar) : text(adVarWChar);
    if (base.contains(QLatin1String("int")))
        return adInteger;
    if (base.contains(QLatin1String("clob")) || base.contains(QLatin1String("text")))
        return adLongVarWChar;
    if (base.contains(QLatin1String("blob")))
        return adBinary;
    if (base.contains(QLatin1String("real")) || base.contains(QLatin1String("floa")) || base.contains(QLatin1String("doub")))
        return adDouble;
    if (base.contains(QLatin1String("date")) || base.contains(QLatin1String("time")))
        return adDate;
    if (base.isEmpty())
        return adVariant;
    return adNumeric;
}

Status sqlError(const QString &message, const QString &sql)
{
    return Status::failure(ErrSqlStatement, QStringLiteral("%1\nStatement: %2").arg(message.trimmed(), sql.left(2000)));
}

} // namespace Orv::Data
