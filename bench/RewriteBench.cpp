// The Favorites rewrite without Windows: the portable core's rewrite of ext_BM.js files
// of 1,000, 10,000 and 100,000 entries (the file read, rewritten with one entry in the
// middle replaced, and written beside it), against reading and writing the same bytes
// once. One row a run, tab-separated, as BenchDriver.exe writes its rows:
//   favorites  native  <entries>  <bytes>  <run>  <rewrite ms>  <copy ms>
//
//   RewriteBench <folder> [runs]
#include "favorites/FavoritesRewrite.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

double NowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// The whole file in one read, as the client reads it (the copy reads it so too).
std::string ReadBytes(const std::string& path) {
    std::string bytes(std::filesystem::file_size(path), '\0');
    std::ifstream(path, std::ios::binary)
        .read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), bytes.size());
}

// The files are ASCII: one byte is one character (the rewrite decodes no line of them).
std::wstring Widen(std::string_view bytes) {
    return std::wstring(bytes.begin(), bytes.end());
}

// What /bmadd does with the file, in memory and on disk.
void Rewrite(const std::string& path, const FavoritesRequest& request) {
    WriteBytes(path + ".tmp", RewriteFavorites(ReadBytes(path), request, Widen));
    std::filesystem::rename(path + ".tmp", path);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: RewriteBench <folder> [runs]\n");
        return 2;
    }
    const std::string folder = argv[1];
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 15;
    std::filesystem::create_directories(folder);
    const std::string path = folder + "/ext_BM.js";
    for (const int count : {1000, 10000, 100000}) {
        std::string bytes = ";var ext_BM=\"\"\r\n+\"[Bench]\x01\"\r\n";
        for (int i = 0; i < count; ++i)
            bytes += "+\"Entry " + std::to_string(i) + "=html/page" + std::to_string(i) +
                     ".htm\x01\"\r\n";
        WriteBytes(path, bytes);
        const std::wstring argument = L"Entry " + std::to_wstring(count / 2) +
                                      L"=mk:@MSITStore:C:\\Bench\\Bench.chm::/html/new.htm";
        const FavoritesRequest request = *ReadFavoritesArgument(argument, true);
        Rewrite(path, request);
        const int times = count >= 100000 ? (runs + 2) / 3 : runs;
        for (int run = 0; run < times; ++run) {
            double start = NowMs();
            Rewrite(path, request);
            const double rewrite = NowMs() - start;
            start = NowMs();
            WriteBytes(folder + "/copy.js", ReadBytes(path));
            const double copy = NowMs() - start;
            std::printf("favorites\tnative\t%d\t%zu\t%d\t%.3f\t%.3f\n", count, bytes.size(), run,
                        rewrite, copy);
        }
    }
    return 0;
}
