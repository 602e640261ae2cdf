#include "core/gradefile/xmlnamespaces.h"

namespace gradefile::xml {

namespace {

// The prefix an attribute declares, or nullopt when it declares none.
std::optional<QString> declaredPrefix(QStringView attributeName)
{
    if (attributeName == u"xmlns")
        return QString();
    if (!attributeName.startsWith(u"xmlns:"))
        return std::nullopt;
    const QStringView prefix = attributeName.mid(6);
    if (prefix.isEmpty() || prefix.contains(u':'))
        return std::nullopt;
    return prefix.toString();
}

} // namespace

NamespaceScopes::NamespaceScopes()
{
    m_uris[QStringLiteral("xml")].push_back(QStringLiteral("http://www.w3.org/XML/1998/namespace"));
    m_uris[QStringLiteral("xmlns")].push_back(QStringLiteral("http://www.w3.org/2000/xmlns/"));
}

void NamespaceScopes::enter(const std::vector<Attribute>& attributes)
{
    std::vector<QString> declared;
    for (const Attribute& attribute : attributes) {
        if (std::optional<QString> prefix = declaredPrefix(attribute.name)) {
            bind(*prefix, attribute.value);
            declared.push_back(std::move(*prefix));
        }
    }
    m_prefixesDeclaredPerElement.push_back(std::move(declared));
}

void NamespaceScopes::leave()
{
    if (m_prefixesDeclaredPerElement.empty())
        return;
    for (const QString& prefix : m_prefixesDeclaredPerElement.back()) {
        const auto uris = m_uris.find(prefix);
        uris->pop_back();
        if (uris->empty())
            m_uris.erase(uris);
    }
    m_prefixesDeclaredPerElement.pop_back();
}

std::optional<ExpandedName> NamespaceScopes::resolveElement(QStringView qualifiedName) const
{
    return resolve(qualifiedName, true);
}

std::optional<ExpandedName> NamespaceScopes::resolveAttribute(QStringView qualifiedName) const
{
    return resolve(qualifiedName, false);
}

void NamespaceScopes::bind(const QString& prefix, const QString& uri)
{
    m_uris[prefix].push_back(uri);
}

std::optional<ExpandedName> NamespaceScopes::resolve(QStringView qualifiedName,
                                                     bool unprefixedUsesDefault) const
{
    const qsizetype colon = qualifiedName.indexOf(u':');
    if (colon < 0) {
        const auto defaultUri = m_uris.constFind(QString());
        const bool hasDefault = unprefixedUsesDefault && defaultUri != m_uris.constEnd();
        return ExpandedName{hasDefault ? defaultUri->back() : QString(), qualifiedName};
    }
    const QStringView local = qualifiedName.mid(colon + 1);
    if (colon == 0 || local.isEmpty() || local.contains(u':'))
        return std::nullopt;
    const auto uri = m_uris.constFind(qualifiedName.left(colon).toString());
    if (uri == m_uris.constEnd())
        return std::nullopt;
    return ExpandedName{uri->back(), local};
}

} // namespace gradefile::xml
