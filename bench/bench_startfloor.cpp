// The least a command of sablemap-cli does on a small file: start a Qt Core application, read the
// file whole and print a line. bench_cli runs it beside the tool as the floor of its start-up.
#include <QCoreApplication>
#include <QFile>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    QFile file(QFile::decodeName(argv[1]));
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray bytes = file.readAll();
    std::printf("%lld bytes\n", static_cast<long long>(bytes.size()));
    return 0;
}
