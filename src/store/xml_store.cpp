#include "store/xml_store.h"

#include "store/save_file.h"

#include <QFile>
#include <algorithm>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlsave.h>
#include <libxml/xpath.h>
#include <mutex>
#include <ranges>
#include <string_view>

namespace store {

namespace {

const char* const kCp932 = "CP932";

// Windows writes "SHIFT-JIS" but means code page 932; glibc's plain SJIS would
// turn ～ into U+301C and reject ① or ㈱ outright.
const char* const kShiftJisNames[] = {"SHIFT-JIS", "Shift_JIS",  "SHIFT_JIS", "SJIS",
                                      "MS_KANJI",  "CSSHIFTJIS", "x-sjis",    "X-SJIS"};

xmlParserInputPtr refuseExternal(const char*, const char*, xmlParserCtxtPtr) {
    return nullptr;
}

QString fromXml(const xmlChar* s) {
    return s ? QString::fromUtf8(reinterpret_cast<const char*>(s)) : QString();
}

QString contentOf(xmlNode* node) {
    xmlChar* content = xmlNodeGetContent(node);
    QString text = fromXml(content);
    xmlFree(content);
    return text;
}

bool isPlainName(std::string_view name) {
    const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    const auto digit = [](char c) { return (c >= '0' && c <= '9') || c == '-'; };
    if (name.empty() || !letter(name.front()))
        return false;
    return std::all_of(name.begin(), name.end(), [&](char c) { return letter(c) || digit(c); });
}

bool hasName(const xmlChar* name, std::string_view wanted) {
    return name && std::string_view(reinterpret_cast<const char*>(name)) == wanted;
}

// The attribute without a namespace, as XPath's "@name" finds it.
void selectAttribute(xmlNode* context, std::string_view name, QList<XmlNode>& out) {
    if (context->type != XML_ELEMENT_NODE)
        return;
    for (xmlAttr* a = context->properties; a; a = a->next)
        if (!a->ns && hasName(a->name, name))
            out.append(XmlNode(reinterpret_cast<xmlNode*>(a)));
}

// The element children without a namespace, in document order, as XPath's "name" finds them.
QList<xmlNode*> childElements(const QList<xmlNode*>& parents, std::string_view name) {
    QList<xmlNode*> children;
    for (xmlNode* parent : parents)
        for (xmlNode* child = parent->children; child; child = child->next)
            if (child->type == XML_ELEMENT_NODE && !child->ns && hasName(child->name, name))
                children.append(child);
    return children;
}

// The paths the records use, "/data/yotei", "sina", "@name" and ".", walked
// directly: an XPath context costs far more than reading a record. Gives false,
// having selected nothing, for any other path.
bool selectSimple(xmlDoc* doc, xmlNode* context, std::string_view path, QList<XmlNode>& out) {
    if (path.empty())
        return false;
    if (path == ".") {
        out.append(XmlNode(context));
        return true;
    }
    if (path.starts_with('@')) {
        if (!isPlainName(path.substr(1)))
            return false;
        selectAttribute(context, path.substr(1), out);
        return true;
    }
    QList<xmlNode*> nodes{path.starts_with('/') ? reinterpret_cast<xmlNode*>(doc) : context};
    if (path.starts_with('/'))
        path.remove_prefix(1);
    QList<std::string_view> steps;
    for (const auto step : std::views::split(path, '/'))
        steps.append(std::string_view(step.begin(), step.end()));
    if (!std::all_of(steps.begin(), steps.end(), isPlainName))
        return false;
    for (std::string_view step : steps)
        nodes = childElements(nodes, step);
    for (xmlNode* node : nodes)
        out.append(XmlNode(node));
    return true;
}

QList<XmlNode> evaluate(xmlDoc* doc, xmlNode* context, const char* path) {
    QList<XmlNode> nodes;
    if (!doc || selectSimple(doc, context, path, nodes))
        return nodes;
    xmlXPathContextPtr ctx = xmlXPathNewContext(doc);
    if (!ctx)
        throw XmlError("XPath context");
    ctx->node = context;
    xmlXPathObjectPtr result = xmlXPathEvalExpression(reinterpret_cast<const xmlChar*>(path), ctx);
    if (result && result->nodesetval) {
        for (int i = 0; i < result->nodesetval->nodeNr; ++i)
            nodes.append(XmlNode(result->nodesetval->nodeTab[i]));
    }
    xmlXPathFreeObject(result);
    xmlXPathFreeContext(ctx);
    return nodes;
}

QByteArray utf8(const QString& s) {
    return s.toUtf8();
}

} // namespace

void initXml() {
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        for (const char* name : kShiftJisNames)
            xmlAddEncodingAlias(kCp932, name);
        xmlSetExternalEntityLoader(refuseExternal);
    });
}

QString XmlNode::text(const char* path) const {
    const QList<XmlNode> nodes = select(path);
    if (nodes.isEmpty())
        throw XmlError(std::string("missing node ") + path);
    return contentOf(nodes.first().m_node);
}

QList<XmlNode> XmlNode::select(const char* path) const {
    return evaluate(m_node->doc, m_node, path);
}

XmlNode XmlNode::append(const char* name) {
    xmlNode* child = xmlNewChild(m_node, nullptr, reinterpret_cast<const xmlChar*>(name), nullptr);
    if (!child)
        throw XmlError("cannot create element");
    return XmlNode(child);
}

void XmlNode::setAttribute(const char* name, const QString& value) {
    // xmlSetProp stores the value as it is; escaping happens on output.
    if (!xmlSetProp(m_node, reinterpret_cast<const xmlChar*>(name),
                    reinterpret_cast<const xmlChar*>(utf8(value).constData())))
        throw XmlError("cannot set attribute");
}

void XmlNode::setText(const QString& value) {
    // A text node of its own: xmlNodeSetContent would read '&' as an entity reference.
    if (value.isEmpty())
        return;
    xmlNode* text = xmlNewDocText(m_node->doc, reinterpret_cast<const xmlChar*>(utf8(value).constData()));
    if (!text || !xmlAddChild(m_node, text))
        throw XmlError("cannot set text");
}

XmlDocument::XmlDocument(XmlDocument&& other) noexcept
    : m_doc(other.m_doc), m_unparsable(other.m_unparsable) {
    other.m_doc = nullptr;
}

XmlDocument& XmlDocument::operator=(XmlDocument&& other) noexcept {
    std::swap(m_doc, other.m_doc);
    m_unparsable = other.m_unparsable;
    return *this;
}

XmlDocument::~XmlDocument() {
    if (m_doc)
        xmlFreeDoc(m_doc);
}

XmlDocument XmlDocument::parse(const QByteArray& bytes) {
    initXml();
    XmlDocument document;
    // No entity substitution, no DTD loading, no network: a mailed file cannot reach out.
    const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_NOCDATA;
    document.m_doc = xmlReadMemory(bytes.constData(), int(bytes.size()), nullptr, nullptr, options);
    document.m_unparsable = document.m_doc == nullptr || xmlDocGetRootElement(document.m_doc) == nullptr;
    if (document.m_unparsable && document.m_doc) {
        xmlFreeDoc(document.m_doc);
        document.m_doc = nullptr;
    }
    return document;
}

XmlDocument XmlDocument::load(const QString& path) {
    QFile file(path);
    if (!file.exists())
        return XmlDocument();
    if (!file.open(QIODevice::ReadOnly)) {
        noteUnreadable(path);
        XmlDocument document;
        document.m_unparsable = true;
        return document;
    }
    XmlDocument document = parse(file.readAll());
    if (document.m_unparsable)
        noteUnreadable(path);
    return document;
}

XmlDocument XmlDocument::create() {
    initXml();
    XmlDocument document;
    document.m_doc = xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"));
    if (!document.m_doc)
        throw XmlError("cannot create document");
    xmlNode* root = xmlNewDocNode(document.m_doc, nullptr, reinterpret_cast<const xmlChar*>("data"), nullptr);
    xmlDocSetRootElement(document.m_doc, root);
    return document;
}

QList<XmlNode> XmlDocument::select(const char* path) const {
    return evaluate(m_doc, m_doc ? reinterpret_cast<xmlNode*>(m_doc) : nullptr, path);
}

XmlNode XmlDocument::root() const {
    return XmlNode(xmlDocGetRootElement(m_doc));
}

QByteArray XmlDocument::serialize() const {
    xmlChar* memory = nullptr;
    int size = 0;
    // Characters code page 932 cannot hold come out as numeric character references.
    xmlDocDumpFormatMemoryEnc(m_doc, &memory, &size, "SHIFT-JIS", 0);
    if (!memory || size <= 0)
        throw SaveError("cannot serialize document");
    QByteArray bytes(reinterpret_cast<const char*>(memory), size);
    xmlFree(memory);
    return bytes;
}

void XmlDocument::save(const QString& path) const {
    saveBytes(path, serialize());
}

} // namespace store
