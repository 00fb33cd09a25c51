// The cost of moving surface items against drawing the same line into the
// surface's image (the baseline), in one offscreen window, events processed
// once per frame's worth of moves as a program's loop does; and the cost of
// one PlaySound of a short wave file, from the call until the player is done
// (with no audio device, as in CI, that is reading, parsing and failing to
// open the device).

#include "BenchMain.h"
#include "Sound.h"
#include "Surface.h"

#include <QApplication>
#include <array>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kMovesPerFrame = 100;

platform::Surface*& TheSurface() {
    static platform::Surface* surface = nullptr;
    return surface;
}

// Baseline: a line drawn into the image at a new place each step.
void DrawLine(benchmark::State& state) {
    platform::Surface& surface = *TheSurface();
    surface.SetPen(QColor(255, 0, 0));
    int step = 0;
    for (auto _ : state) {
        const int x = step++ % 600;
        surface.Line(QPoint(x, 10), QPoint(x, 200));
        if (step % kMovesPerFrame == 0)
            QApplication::processEvents();
    }
}

// Ribbonmill's head marker: a line item moved each step.
void MoveLine(benchmark::State& state) {
    platform::Surface& surface = *TheSurface();
    platform::SurfaceLine& line = surface.AddLine();
    int step = 0;
    for (auto _ : state) {
        const double x = step++ % 600;
        line.SetPoints(QPointF(x, 10), QPointF(x, 200));
        if (step % kMovesPerFrame == 0)
            QApplication::processEvents();
    }
    QApplication::processEvents();
    surface.RemoveItem(line);
}

// Pegfall's ball: a picture moved each step.
void MovePicture(benchmark::State& state) {
    platform::Surface& surface = *TheSurface();
    platform::SurfaceImage& ball = surface.AddImage();
    QImage picture(16, 16, QImage::Format_ARGB32);
    picture.fill(QColor(0, 0, 255));
    ball.SetPicture(picture);
    int step = 0;
    for (auto _ : state) {
        ++step;
        ball.Move(step % 600, (step / 600) % 400);
        if (step % kMovesPerFrame == 0)
            QApplication::processEvents();
    }
    QApplication::processEvents();
    surface.RemoveItem(ball);
}

// Neuromesh's training chart: 202 points set at once.
void SetChart(benchmark::State& state) {
    platform::Surface& surface = *TheSurface();
    surface.SetScaleMode(platform::Surface::ScaleMode::Twips);
    platform::SurfacePolyline& chart = surface.AddPolyline();
    std::vector<QPointF> points(202);
    int step = 0;
    for (auto _ : state) {
        ++step;
        for (std::size_t k = 0; k < points.size(); ++k)
            points[k] = QPointF(210 + 25.0 * k, 500 + (k * 37 + step) % 2500);
        chart.SetPoints(points);
        QApplication::processEvents();
    }
    surface.RemoveItem(chart);
    surface.SetScaleMode(platform::Surface::ScaleMode::Pixels);
}

void PlayShortWave(benchmark::State& state) {
    const auto path = std::filesystem::temp_directory_path() / "bench_surface_items.wav";
    {
        std::string b = "RIFF";
        const auto put = [&](uint32_t v, int bytes) {
            for (int i = 0; i < bytes; ++i)
                b.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
        };
        put(36 + 1600, 4);
        b += "WAVEfmt ";
        put(16, 4), put(1, 2), put(1, 2), put(8000, 4), put(16000, 4), put(2, 2), put(16, 2);
        b += "data";
        put(1600, 4);
        b.append(1600, '\0');
        std::ofstream(path, std::ios::binary) << b;
    }
    for (auto _ : state) {
        platform::PlaySound(path);
        platform::WaitForSounds();
    }
    std::filesystem::remove(path);
}

} // namespace

int main(int argc, char** argv) {
    bench::UseOffscreenPlatform();
    QApplication app(argc, argv);
    platform::Surface surface;
    surface.resize(640, 480);
    surface.show();
    QApplication::processEvents();
    TheSurface() = &surface;
    benchmark::RegisterBenchmark("Surface/DrawLine", DrawLine);
    benchmark::RegisterBenchmark("Surface/MoveLineItem", MoveLine);
    benchmark::RegisterBenchmark("Surface/MovePictureItem", MovePicture);
    benchmark::RegisterBenchmark("Surface/SetPolyline202", SetChart)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark("Sound/PlayShortWave", PlayShortWave)->Unit(benchmark::kMicrosecond);
    return bench::Run(argc, argv);
}
