#pragma once

#include "core/gradefile/xmlscanner.h"

#include <QHash>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace gradefile::xml {

struct ExpandedName {
    QString uri;       // empty: no namespace
    QStringView local; // the name after the prefix
};

// The namespace bindings in force inside each open element, so that elements are
// recognised by URI whatever prefix a writer chose.
class NamespaceScopes {
public:
    NamespaceScopes();

    // Takes in the xmlns declarations among a start tag's attributes.
    void enter(const std::vector<Attribute>& attributes);
    // Drops the declarations of the element that ends.
    void leave();

    // nullopt when the prefix is not declared or the name is not a qualified name.
    std::optional<ExpandedName> resolveElement(QStringView qualifiedName) const;
    std::optional<ExpandedName> resolveAttribute(QStringView qualifiedName) const;

private:
    void bind(const QString& prefix, const QString& uri);
    std::optional<ExpandedName> resolve(QStringView qualifiedName,
                                        bool unprefixedUsesDefault) const;

    // One stack of URIs per prefix keeps lookups constant-time however many
    // declarations a hostile file piles up; "" is the default namespace.
    QHash<QString, std::vector<QString>> m_uris;
    std::vector<std::vector<QString>> m_prefixesDeclaredPerElement;
};

} // namespace gradefile::xml
