// The route networks of a map package: a node file of junctions and a link file of links between
// two nodes through any number of intermediate points, expanded into straight segments once; and
// the writers of both files.

#include "mapview/map.h"

#include "platform/atomicsave.h"
#include "platform/filepaths.h"
#include "platform/fileread.h"
#include "platform/streams.h"

#include <QFileInfo>

namespace {

struct Node {
    float X;
    float Z;
};

// The network's node or link file: the found name with its extension replaced, matched without
// regard to letter case like every game file.
QString WithExtension(const QString& baseName, const char* extension)
{
    const QFileInfo info(baseName);
    const QString dir = info.path();
    const QString name = info.completeBaseName() + QLatin1String(extension);
    return ResolveCaseInsensitive(JoinPath(dir, name));
}

bool ReadNodes(const QString& fileName, std::vector<Node>& nodes, QString* error)
{
    CFileReader reader(fileName, FileLimits::RouteNodes);
    int32_t count = 0;
    reader.ReadInt32(count);
    if (!reader.Failed() && count < 0)
        reader.Fail(QStringLiteral("negative node count %1").arg(count));
    if (reader.CanHold(count, 12, "node")) {
        nodes.resize(static_cast<size_t>(count));
        for (Node& node : nodes) {
            float height = 0;
            reader.ReadFloat(node.X);
            reader.ReadFloat(height);
            reader.ReadFloat(node.Z);
        }
    }
    if (reader.Failed()) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(fileName, reader.Error());
        return false;
    }
    return true;
}

bool ReadLinks(const QString& fileName, const std::vector<Node>& nodes, RouteList& segments, QString* error)
{
    CFileReader reader(fileName, FileLimits::RouteLinks);
    int32_t links = 0;
    reader.ReadInt32(links);
    if (!reader.Failed() && links < 0)
        reader.Fail(QStringLiteral("negative link count %1").arg(links));
    reader.CanHold(links, 16, "link");
    const auto node = [&nodes](int32_t index) -> const Node* {
        return index >= 0 && static_cast<size_t>(index) < nodes.size() ? &nodes[static_cast<size_t>(index)] : nullptr;
    };
    for (int32_t link = 0; link < links && !reader.Failed(); ++link) {
        int32_t a = 0;
        int32_t b = 0;
        int32_t unused = 0;
        int32_t points = 0;
        reader.ReadInt32(a);
        reader.ReadInt32(b);
        reader.ReadInt32(unused);
        reader.ReadInt32(points);
        if (!reader.Failed() && points < 0)
            reader.Fail(QStringLiteral("negative point count %1 in link %2").arg(points).arg(link));
        if (!reader.CanHold(points, 12, "intermediate point"))
            break;
        // The path runs from node A through the points to node B; a segment that would touch a
        // node the node file does not hold is left out, the rest of the link is kept.
        bool haveStart = node(a) != nullptr;
        Node start = haveStart ? *node(a) : Node{0, 0};
        for (int32_t p = 0; p <= points; ++p) {
            Node end{0, 0};
            bool haveEnd = true;
            if (p < points) {
                float height = 0;
                reader.ReadFloat(end.X);
                reader.ReadFloat(height);
                reader.ReadFloat(end.Z);
            } else if (const Node* last = node(b)) {
                end = *last;
            } else {
                haveEnd = false;
            }
            if (haveStart && haveEnd)
                segments.push_back({start.X, start.Z, end.X, end.Z});
            start = end;
            haveStart = haveEnd;
        }
    }
    if (reader.Failed()) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(fileName, reader.Error());
        return false;
    }
    return true;
}

} // namespace

bool CMap::LoadRouteNetwork(const QString& baseName, RouteList& list, QString* error)
{
    list.clear();
    QString reason;
    if (GuardAllocation(&reason, [&] { return ReadNetwork(baseName, list, &reason); }))
        return true;
    list.clear();
    if (error)
        *error = reason == OutOfMemoryReason() ? QStringLiteral("%1: %2").arg(baseName, reason) : reason;
    return false;
}

bool CMap::ReadNetwork(const QString& baseName, RouteList& list, QString* error)
{
    const QString nodeFile = WithExtension(baseName, ".NDE");
    const QString linkFile = WithExtension(baseName, ".WP");
    if (!QFileInfo(nodeFile).isFile()) {
        if (error)
            *error = QStringLiteral("%1: no such file").arg(nodeFile);
        return false;
    }
    std::vector<Node> nodes;
    if (!ReadNodes(nodeFile, nodes, error))
        return false;
    if (!QFileInfo(linkFile).isFile()) {
        if (error)
            *error = QStringLiteral("%1: no such file").arg(linkFile);
        return false;
    }
    RouteList segments;
    if (!ReadLinks(linkFile, nodes, segments, error))
        return false;
    list = std::move(segments);
    return true;
}

bool CMap::LoadNetwork(std::initializer_list<const char*> names, RouteList& list)
{
    // A network that cannot be read is simply not drawn; running out of memory is left to Load.
    for (const char* name : names) {
        const QString file = PackageFile(name);
        if (QFileInfo::exists(file)) {
            list.clear();
            return ReadNetwork(file, list, nullptr);
        }
    }
    return false;
}

bool CMap::LoadRoads() { return LoadNetwork({"route\\roads.nde", "route\\roaddata.nde"}, Roads); }
bool CMap::LoadRivers() { return LoadNetwork({"route\\rivers.nde", "route\\rivdata.nde"}, Rivers); }
bool CMap::LoadUtilities() { return LoadNetwork({"route\\utils.nde", "route\\utildata.nde"}, Utilities); }
bool CMap::LoadBoundary() { return LoadNetwork({"route\\boundary.nde"}, Boundary); }

namespace {

void WritePoint(CByteWriter& writer, const RouteGraph::Point& point)
{
    writer.WriteFloat(point.X);
    writer.WriteFloat(point.Y);
    writer.WriteFloat(point.Z);
}

// The reader refuses a file longer than its limit, so the writer does too.
bool FitsLimit(qint64 length, const FileLimit& limit, QString* error)
{
    if (length <= limit.Bytes)
        return true;
    if (error)
        *error = QStringLiteral("the file would be %1 bytes long; no %2 is longer than %3 bytes")
                     .arg(length)
                     .arg(QLatin1String(limit.Kind))
                     .arg(limit.Bytes);
    return false;
}

} // namespace

QByteArray RouteNodeFileBytes(const RouteGraph& graph, QString* error)
{
    if (!FitsLimit(4 + 12 * qint64(graph.Nodes.size()), FileLimits::RouteNodes, error))
        return {};
    CByteWriter writer;
    writer.WriteInt32(static_cast<int32_t>(graph.Nodes.size()));
    for (const RouteGraph::Point& node : graph.Nodes)
        WritePoint(writer, node);
    return writer.Bytes();
}

QByteArray RouteLinkFileBytes(const RouteGraph& graph, QString* error)
{
    // A link to a node that is not there would lose its end segments when read back.
    const auto isNode = [&](int32_t index) { return index >= 0 && size_t(index) < graph.Nodes.size(); };
    qint64 length = 4;
    for (size_t i = 0; i < graph.Links.size(); ++i) {
        const RouteGraph::Link& link = graph.Links[i];
        if (!isNode(link.A) || !isNode(link.B)) {
            if (error)
                *error = QStringLiteral("link %1 runs from node %2 to node %3, but there are %4 nodes")
                             .arg(i)
                             .arg(link.A)
                             .arg(link.B)
                             .arg(graph.Nodes.size());
            return {};
        }
        length += 16 + 12 * qint64(link.Points.size());
    }
    if (!FitsLimit(length, FileLimits::RouteLinks, error))
        return {};
    CByteWriter writer;
    writer.WriteInt32(static_cast<int32_t>(graph.Links.size()));
    for (const RouteGraph::Link& link : graph.Links) {
        writer.WriteInt32(link.A);
        writer.WriteInt32(link.B);
        writer.WriteInt32(link.Reserved);
        writer.WriteInt32(static_cast<int32_t>(link.Points.size()));
        for (const RouteGraph::Point& point : link.Points)
            WritePoint(writer, point);
    }
    return writer.Bytes();
}

bool SaveRouteNodeFile(const QString& fileName, const RouteGraph& graph, QString* error)
{
    const QByteArray bytes = RouteNodeFileBytes(graph, error);
    return !bytes.isEmpty() && SaveFileAtomically(fileName, bytes, error);
}

bool SaveRouteLinkFile(const QString& fileName, const RouteGraph& graph, QString* error)
{
    const QByteArray bytes = RouteLinkFileBytes(graph, error);
    return !bytes.isEmpty() && SaveFileAtomically(fileName, bytes, error);
}
