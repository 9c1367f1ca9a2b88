// The least a load built on expat can cost, as references for the load rows: expat alone with no
// handlers, then expat with the least any index of the corpus could keep (every text copied once, a
// 16-byte record an element, the attribute values copied), its texts as UTF-8, then widened to
// UTF-16 a byte at a time (less than any real decoding). One thread, the file read in 1 MB pieces.
#include <expat.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Record
{
    const char* name;
    uint32_t textStart;
    uint32_t textEnd;
};

struct Kept
{
    XML_Parser parser = nullptr;
    bool wide = false;
    char* text = nullptr;
    char16_t* wideText = nullptr;
    size_t textLength = 0;
    char* values = nullptr;
    size_t valuesLength = 0;
    Record* records = nullptr;
    size_t recordCount = 0;
    uint32_t open[1024] = {};
    int depth = 0;

    Kept() = default;
    Kept(const Kept&) = delete;
    Kept& operator=(const Kept&) = delete;
    ~Kept()
    {
        std::free(text);
        std::free(wideText);
        std::free(values);
        std::free(records);
    }
};

void startElement(void* data, const char* name, const char** attributes)
{
    Kept& kept = *static_cast<Kept*>(data);
    if (kept.depth == 1024) {
        XML_StopParser(kept.parser, XML_FALSE); // deeper than any corpus this measures
        return;
    }
    kept.records[kept.recordCount] = {name, static_cast<uint32_t>(kept.textLength), 0};
    kept.open[kept.depth++] = static_cast<uint32_t>(kept.recordCount++);
    for (; *attributes; attributes += 2) {
        const size_t length = std::strlen(attributes[1]);
        std::memcpy(kept.values + kept.valuesLength, attributes[1], length);
        kept.valuesLength += length;
    }
}

void endElement(void* data, const char*)
{
    Kept& kept = *static_cast<Kept*>(data);
    kept.records[kept.open[--kept.depth]].textEnd = static_cast<uint32_t>(kept.textLength);
}

void characters(void* data, const char* text, int length)
{
    Kept& kept = *static_cast<Kept*>(data);
    if (kept.wide) {
        char16_t* out = kept.wideText + kept.textLength;
        for (int i = 0; i < length; ++i)
            out[i] = static_cast<unsigned char>(text[i]);
    } else {
        std::memcpy(kept.text + kept.textLength, text, static_cast<size_t>(length));
    }
    kept.textLength += static_cast<size_t>(length);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 3 || (std::strcmp(argv[1], "expat") && std::strcmp(argv[1], "utf8") && std::strcmp(argv[1], "utf16"))) {
        std::fprintf(stderr, "usage: tarvane_loadfloor expat|utf8|utf16 FILE.xml\n");
        return 2;
    }
    const int fd = open(argv[2], O_RDONLY);
    struct stat status = {};
    if (fd < 0 || fstat(fd, &status) != 0) {
        std::perror(argv[2]);
        return 1;
    }
    const size_t size = static_cast<size_t>(status.st_size);
    const std::unique_ptr<XML_ParserStruct, void (*)(XML_Parser)> owner(XML_ParserCreate(nullptr), XML_ParserFree);
    XML_Parser parser = owner.get();
    Kept kept;
    kept.parser = parser;
    if (std::strcmp(argv[1], "expat") != 0) {
        // Room as the file's size gives it: the pages are only taken as they are written.
        kept.wide = std::strcmp(argv[1], "utf16") == 0;
        if (kept.wide)
            kept.wideText = static_cast<char16_t*>(std::malloc(size * sizeof(char16_t) + 1));
        else
            kept.text = static_cast<char*>(std::malloc(size + 1));
        kept.values = static_cast<char*>(std::malloc(size + 1));
        kept.records = static_cast<Record*>(std::malloc((size / 2 + 1) * sizeof(Record)));
        if (!(kept.text || kept.wideText) || !kept.values || !kept.records)
            return 1;
        XML_SetUserData(parser, &kept);
        XML_SetElementHandler(parser, startElement, endElement);
        XML_SetCharacterDataHandler(parser, characters);
    }
    for (;;) {
        void* const buffer = XML_GetBuffer(parser, 1 << 20);
        const ssize_t length = buffer ? read(fd, buffer, 1 << 20) : -1;
        if (length < 0 || XML_ParseBuffer(parser, static_cast<int>(length), length == 0) != XML_STATUS_OK) {
            std::fprintf(stderr, "%s: not read\n", argv[2]);
            return 1;
        }
        if (length == 0)
            break;
    }
    std::printf("%zu elements, %zu text units\n", kept.recordCount, kept.textLength);
    close(fd);
    return 0;
}
