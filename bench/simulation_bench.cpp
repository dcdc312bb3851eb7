// One frame's simulation work without drawing: the oscillator bank, the four
// particle updates over a full pool, the target paths and the hit tests.
#include <benchmark/benchmark.h>

#include "core/easing.h"
#include "core/oscillators.h"
#include "core/random.h"
#include "core/settings.h"
#include "game/combat.h"
#include "input/reset.h"
#include "particles/particles.h"

namespace {
constexpr float kFrameStep = 1.0f / 60.0f;

// Fills the pool the way a busy scene does: fire, smoke and shots in flight.
void fillPool() {
  particleSystem = ParticleSystem{};
  for (float& interval : particleSystem.emitInterval) interval = 0.0f;
  int kind = 0;
  for (int i = 0; i < kParticleSlots; ++i) {
    particleSystem.emit(kGameKinds[kind], 0.0f, 0.5f, 5.0f, 1.0f, 1.0f);
    kind = (kind + 1) % 4;
  }
}

void simulateFrame(float now) {
  advanceOscillators(kOscillatorsInUse, kFrameStep, settings, 0);
  for (int kind : kGameKinds) particleSystem.update(kind, now, kFrameStep, 1.0f);
  for (int i = 0; i < kMaxTargets; ++i) {
    const int channel = 15 + 3 * i;
    targets[i].x = static_cast<float>(oscillatorValue(channel, 30.0, 2.0, -1.0));
    targets[i].y = static_cast<float>(oscillatorValue(channel + 1, 30.0, 0.5, 0.25));
    targets[i].z = static_cast<float>(oscillatorValue(channel + 2, 4.0, 16.0, -2.0));
    benchmark::DoNotOptimize(
        particleSystem.hitTest(LaserBolt, targets[i].x, targets[i].y, targets[i].z, 0.075f));
  }
  benchmark::DoNotOptimize(particleSystem.hitTest(AlienShot, 0.0f, 0.5f, 13.0f, 0.1f));
}

void BM_SimulationFrame(benchmark::State& state) {
  seedRandom(1);
  resetParameters();
  randomizeOscillators(kOscillatorsInUse);
  fillPool();
  float now = 1.0f;
  for (auto _ : state) {
    simulateFrame(now);
    now += kFrameStep * 1e-3f;  // particles stay alive across iterations
  }
}
BENCHMARK(BM_SimulationFrame);
}  // namespace

BENCHMARK_MAIN();
