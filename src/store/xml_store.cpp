#include "store/xml_store.h"

#include "store/cp932.h"
#include "store/freed_memory.h"
#include "store/save_file.h"
#include "store/text_pool.h"

#include <QFile>
#include <algorithm>
#include <cstring>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlsave.h>
#include <libxml/xpath.h>
#include <mutex>
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

// Every loader and saver says in the user's words what failed; the library's
// own lines ("encoding error : input conversion failed ...") are English and
// would only repeat it on the terminal the program was started from.
void dropMessage(void*, const char*, ...) {}

// The library keeps its error handlers per thread.
void routeErrorsOfThisThread() {
    xmlSetGenericErrorFunc(nullptr, dropMessage);
    xmlStructuredErrorFunc dropError = [](void*, auto) {};
    xmlSetStructuredErrorFunc(nullptr, dropError);
}

QString fromXml(const xmlChar* s) {
    return s ? QString::fromUtf8(reinterpret_cast<const char*>(s)) : QString();
}

// A node holding one text node and nothing else is read in place, without a copy.
QString contentOf(xmlNode* node, TextPool* pool = nullptr) {
    const xmlNode* only =
        node->type == XML_ELEMENT_NODE || node->type == XML_ATTRIBUTE_NODE ? node->children : nullptr;
    if (only && !only->next && only->type == XML_TEXT_NODE) {
        if (pool && only->content)
            return pool->text(reinterpret_cast<const char*>(only->content));
        return fromXml(only->content);
    }
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

// "data/yotei", "sina": plain element names between slashes.
bool isPlainSteps(std::string_view steps) {
    for (size_t start = 0;;) {
        const size_t slash = steps.find('/', start);
        if (!isPlainName(steps.substr(start, slash == std::string_view::npos ? slash : slash - start)))
            return false;
        if (slash == std::string_view::npos)
            return true;
        start = slash + 1;
    }
}

bool hasName(const xmlChar* name, std::string_view wanted) {
    const char* text = reinterpret_cast<const char*>(name);
    return text && std::strncmp(text, wanted.data(), wanted.size()) == 0 && text[wanted.size()] == '\0';
}

// The attribute without a namespace, as XPath's "@name" finds it.
template <class Visit> void visitAttribute(xmlNode* context, std::string_view name, Visit& visit) {
    if (context->type != XML_ELEMENT_NODE)
        return;
    for (xmlAttr* a = context->properties; a; a = a->next)
        if (!a->ns && hasName(a->name, name) && !visit(reinterpret_cast<xmlNode*>(a)))
            return;
}

// The element children without a namespace the steps name, in document order,
// as XPath finds them; stops, answering false, once visit answers false.
template <class Visit> bool walkSteps(xmlNode* node, std::string_view steps, Visit& visit) {
    if (steps.empty())
        return visit(node);
    const size_t slash = steps.find('/');
    const std::string_view step = steps.substr(0, slash);
    const std::string_view rest =
        slash == std::string_view::npos ? std::string_view() : steps.substr(slash + 1);
    for (xmlNode* child = node->children; child; child = child->next)
        if (child->type == XML_ELEMENT_NODE && !child->ns && hasName(child->name, step) &&
            !walkSteps(child, rest, visit))
            return false;
    return true;
}

// The paths the records use, "/data/yotei", "sina", "@name" and ".", walked
// directly: an XPath context costs far more than reading a record. Gives false,
// having visited nothing, for any other path.
template <class Visit> bool visitSimple(xmlDoc* doc, xmlNode* context, std::string_view path, Visit visit) {
    if (path.empty())
        return false;
    if (path == ".") {
        visit(context);
        return true;
    }
    if (path.starts_with('@')) {
        if (!isPlainName(path.substr(1)))
            return false;
        visitAttribute(context, path.substr(1), visit);
        return true;
    }
    const bool absolute = path.starts_with('/');
    if (absolute)
        path.remove_prefix(1);
    if (!path.empty() && !isPlainSteps(path))
        return false;
    walkSteps(absolute ? reinterpret_cast<xmlNode*>(doc) : context, path, visit);
    return true;
}

QList<XmlNode> evaluateXPath(xmlDoc* doc, xmlNode* context, const char* path) {
    QList<XmlNode> nodes;
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

QList<XmlNode> evaluate(xmlDoc* doc, xmlNode* context, const char* path) {
    QList<XmlNode> nodes;
    const auto collect = [&nodes](xmlNode* node) {
        nodes.append(XmlNode(node));
        return true;
    };
    if (!doc || visitSimple(doc, context, path, collect))
        return nodes;
    return evaluateXPath(doc, context, path);
}

// The first node the path selects, or null.
xmlNode* evaluateFirst(xmlDoc* doc, xmlNode* context, const char* path) {
    xmlNode* first = nullptr;
    const auto keep = [&first](xmlNode* node) {
        first = node;
        return false;
    };
    if (!doc || visitSimple(doc, context, path, keep))
        return first;
    const QList<XmlNode> nodes = evaluateXPath(doc, context, path);
    return nodes.isEmpty() ? nullptr : nodes.first().raw();
}

// The first node the path selects from context; throws XmlError when none.
xmlNode* requiredFirst(xmlNode* context, const char* path) {
    xmlNode* node = evaluateFirst(context->doc, context, path);
    if (!node)
        throw XmlError(std::string("missing node ") + path);
    return node;
}

QByteArray utf8(const QString& s) {
    return s.toUtf8();
}

} // namespace

void initXml() {
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        registerCp932Encoding(kCp932);
        for (const char* name : kShiftJisNames)
            xmlAddEncodingAlias(kCp932, name);
        xmlSetExternalEntityLoader(refuseExternal);
        xmlThrDefSetGenericErrorFunc(nullptr, dropMessage);
        xmlStructuredErrorFunc dropError = [](void*, auto) {};
        xmlThrDefSetStructuredErrorFunc(nullptr, dropError);
    });
    thread_local const bool routed = (routeErrorsOfThisThread(), true);
    (void)routed;
}

QString XmlNode::text(const char* path) const {
    return contentOf(requiredFirst(m_node, path));
}

QString XmlNode::text(const char* path, TextPool& pool) const {
    return contentOf(requiredFirst(m_node, path), &pool);
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
    if (!m_doc)
        return;
    const FreeingInOneGo merged;
    xmlFreeDoc(m_doc);
}

XmlDocument XmlDocument::parse(const QByteArray& bytes) {
    initXml();
    XmlDocument document;
    // No entity substitution, no DTD loading, no network: a mailed file cannot reach out.
    const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_NOCDATA;
    document.m_doc = xmlReadMemory(bytes.constData(), int(bytes.size()), nullptr, nullptr, options);
    // The program never writes a document type. One in a file declares entities, and
    // reading the text would expand them: a few kilobytes could swell into gigabytes.
    document.m_unparsable = document.m_doc == nullptr || xmlDocGetRootElement(document.m_doc) == nullptr ||
                            document.m_doc->intSubset != nullptr;
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
    // A root other than the plain "data" holds nothing a loader selects; its
    // records would be lost without a trace at the next save.
    const xmlNode* root = document.m_doc ? xmlDocGetRootElement(document.m_doc) : nullptr;
    if (document.m_unparsable || root->ns ||
        !xmlStrEqual(root->name, reinterpret_cast<const xmlChar*>("data")))
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

int XmlNode::elementsBelow(int levels) const {
    int n = 0;
    for (xmlNode* child = m_node->children; child; child = child->next)
        if (child->type == XML_ELEMENT_NODE)
            n += levels == 1 ? 1 : XmlNode(child).elementsBelow(levels - 1);
    return n;
}

int XmlDocument::elementsBelowRoot(int levels) const {
    xmlNode* root = m_doc ? xmlDocGetRootElement(m_doc) : nullptr;
    return root ? XmlNode(root).elementsBelow(levels) : 0;
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
