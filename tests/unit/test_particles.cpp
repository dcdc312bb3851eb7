// The particle pool: emission limits and draws, ageing, motion, launch, the
// hit test, clearing and the brightness envelope.
#include <gtest/gtest.h>

#include "core/random.h"
#include "particles/particles.h"
#include "support/state.h"
#include "unit/reference_random.h"

namespace {

ParticleSystem& pool = particleSystem;

class Particles : public ::testing::Test {
 protected:
  void SetUp() override { restoreProgramState(); }
  void TearDown() override { restoreProgramState(); }

  static int liveCount() {
    int live = 0;
    for (const Particle& p : pool.slots) live += p.active;
    return live;
  }
  // True when the program's generator is where a fresh one seeded so is.
  static bool streamUntouched(uint32_t seed) {
    ReferenceRandom reference(seed);
    return nextRandom() == reference.next();
  }
};

TEST_F(Particles, EmissionWaitsForTheIntervalAndEqualityPasses) {
  pool.emitInterval[Flame] = 0.25f;
  seedRandom(10);
  EXPECT_EQ(pool.emit(Flame, 0, 0, 0, 0.125f, 1.0f), -1);  // the clock starts the interval
  EXPECT_TRUE(streamUntouched(10));
  EXPECT_FLOAT_EQ(pool.lastEmitTime[Flame], 0.0f);

  EXPECT_EQ(pool.emit(Flame, 0, 0, 0, 0.25f, 1.0f), 0);
  EXPECT_FLOAT_EQ(pool.lastEmitTime[Flame], 0.25f);
  EXPECT_EQ(pool.emit(Flame, 0, 0, 0, 0.375f, 1.0f), -1);
  EXPECT_FLOAT_EQ(pool.lastEmitTime[Flame], 0.25f);
  EXPECT_EQ(pool.emit(Flame, 0, 0, 0, 0.5f, 1.0f), 1);
  // Each kind keeps its own clock.
  pool.emitInterval[Smoke] = 0.25f;
  EXPECT_EQ(pool.emit(Smoke, 0, 0, 0, 0.5f, 1.0f), 2);
  EXPECT_EQ(liveCount(), 3);
}

TEST_F(Particles, AFullPoolRefusesWithoutSideEffectsAndReusesTheLowestFreeSlot) {
  pool.activeCount = 3;
  pool.emitInterval[LaserBolt] = 0.0f;
  for (int i = 0; i < 3; ++i) EXPECT_EQ(pool.emit(LaserBolt, 0, 0, 0, 1.0f, 1.0f), i);
  seedRandom(20);
  EXPECT_EQ(pool.emit(LaserBolt, 0, 0, 0, 2.0f, 1.0f), -1);
  EXPECT_TRUE(streamUntouched(20));
  EXPECT_FLOAT_EQ(pool.lastEmitTime[LaserBolt], 1.0f);
  EXPECT_EQ(pool.slots[3].active, 0);

  pool.slots[1].active = 0;
  EXPECT_EQ(pool.emit(LaserBolt, 0, 0, 0, 2.0f, 1.0f), 1);
}

TEST_F(Particles, UnknownKindsAreRefused) {
  seedRandom(30);
  for (int kind : {-1, 5, 99}) EXPECT_EQ(pool.emit(kind, 0, 0, 0, 10.0f, 1.0f), -1) << kind;
  EXPECT_TRUE(streamUntouched(30));
  EXPECT_EQ(liveCount(), 0);
}

TEST_F(Particles, FlameDrawsVelocityThenSizeThenAngleAndSpin) {
  pool.spread[Flame] = 0.2f;
  pool.baseSize[Flame] = 0.4f;
  pool.lifeSpan[Flame] = 2.0f;
  seedRandom(99);
  const int slot = pool.emit(Flame, 1.0f, 2.0f, 3.0f, 10.0f, 1.0f);
  ASSERT_EQ(slot, 0);

  ReferenceRandom r(99);
  const float spread = 0.2f;
  const float half = spread * 0.5f;
  const Particle& p = pool.slots[slot];
  EXPECT_FLOAT_EQ(p.velocity[0], static_cast<float>(r.value(spread) - half));
  EXPECT_FLOAT_EQ(p.velocity[1], static_cast<float>(r.value(spread) - half));
  EXPECT_FLOAT_EQ(p.velocity[2], static_cast<float>((r.value(spread) - half) * 0.2));
  EXPECT_FLOAT_EQ(p.size, static_cast<float>(r.value(0.4f) + 0.4f));
  EXPECT_FLOAT_EQ(p.angle, static_cast<float>(r.value(360.0)));
  EXPECT_FLOAT_EQ(p.spin, static_cast<float>(r.value(40.0) - 20.0));
  EXPECT_EQ(nextRandom(), r.next());  // six draws, no more

  EXPECT_FLOAT_EQ(p.color[0], 1.0f);
  EXPECT_FLOAT_EQ(p.color[1], 0.5f);
  EXPECT_FLOAT_EQ(p.color[2], 0.25f);
  EXPECT_FLOAT_EQ(p.position[0], 1.0f);
  EXPECT_FLOAT_EQ(p.position[1], 2.0f);
  EXPECT_FLOAT_EQ(p.position[2], 3.0f);
  EXPECT_EQ(p.kind, Flame);
  EXPECT_EQ(p.active, 1);
  EXPECT_FLOAT_EQ(p.birthTime, 10.0f);
  EXPECT_FLOAT_EQ(p.lifetime, 2.0f);
  EXPECT_FLOAT_EQ(p.deathTime, 12.0f);
}

TEST_F(Particles, SmokeIsGreyAndItsLifeShrinksWithTheTimeScale) {
  pool.lifeSpan[Smoke] = 4.0f;
  int slot = pool.emit(Smoke, 0, 0, 0, 1.0f, 2.0f);
  EXPECT_FLOAT_EQ(pool.slots[slot].color[0], 0.66f);
  EXPECT_FLOAT_EQ(pool.slots[slot].color[2], 0.66f);
  EXPECT_FLOAT_EQ(pool.slots[slot].lifetime, 2.0f);
  EXPECT_FLOAT_EQ(pool.slots[slot].deathTime, 3.0f);
  slot = pool.emit(Smoke, 0, 0, 0, 2.0f, 0.5f);
  EXPECT_FLOAT_EQ(pool.slots[slot].lifetime, 8.0f);
  EXPECT_FLOAT_EQ(pool.slots[slot].deathTime, 10.0f);
}

TEST_F(Particles, BoltsAndShotsDrawTheirColourBeforeAngleAndSpin) {
  pool.emitInterval[LaserBolt] = 0.0f;
  seedRandom(7);
  const Particle& bolt = pool.slots[pool.emit(LaserBolt, 0, 0, 0, 1.0f, 1.0f)];
  const Particle& shot = pool.slots[pool.emit(AlienShot, 0, 0, 0, 1.0f, 1.0f)];

  ReferenceRandom r(7);
  EXPECT_FLOAT_EQ(bolt.color[0], static_cast<float>(r.value(0.1) + 0.9));
  EXPECT_FLOAT_EQ(bolt.color[1], static_cast<float>(r.value(0.2) + 0.2));
  EXPECT_FLOAT_EQ(bolt.color[2], static_cast<float>(r.value(0.1) + 0.9));
  EXPECT_FLOAT_EQ(bolt.angle, static_cast<float>(r.value(360.0)));
  EXPECT_FLOAT_EQ(bolt.spin, static_cast<float>(r.value(40.0) - 20.0));
  EXPECT_FLOAT_EQ(shot.color[0], static_cast<float>(r.value(0.1) + 0.9));
  EXPECT_FLOAT_EQ(shot.color[1], static_cast<float>(r.value(0.2) + 0.2));
  EXPECT_FLOAT_EQ(shot.color[2], static_cast<float>(r.value(0.2) + 0.2));
  EXPECT_FLOAT_EQ(shot.angle, static_cast<float>(r.value(360.0)));
  EXPECT_FLOAT_EQ(shot.spin, static_cast<float>(r.value(40.0) - 20.0));
  EXPECT_EQ(nextRandom(), r.next());

  for (const Particle* p : {&bolt, &shot}) {
    EXPECT_FLOAT_EQ(p->size, 0.03f);
    EXPECT_FLOAT_EQ(p->velocity[0], 0.0f);
    EXPECT_FLOAT_EQ(p->velocity[1], 0.0f);
    EXPECT_FLOAT_EQ(p->velocity[2], 0.0f);
    EXPECT_FLOAT_EQ(p->lifetime, 4.0f);
  }
}

TEST_F(Particles, TheReservedCloudKindIsDrawnTowardTheAxisAndNeverMoves) {
  seedRandom(3);
  const int slot = pool.emit(kCloudKind, 1.0f, 0.5f, -2.0f, 1.0f, 1.0f);
  ASSERT_GE(slot, 0);
  Particle& p = pool.slots[slot];
  ReferenceRandom r(3);
  for (float c : p.color) EXPECT_FLOAT_EQ(c, static_cast<float>(r.value(0.7) + 0.3));
  EXPECT_FLOAT_EQ(p.angle, static_cast<float>(r.value(360.0)));
  EXPECT_FLOAT_EQ(p.velocity[0], -2.0f);
  EXPECT_FLOAT_EQ(p.velocity[1], 0.0f);
  EXPECT_FLOAT_EQ(p.velocity[2], 4.0f);
  EXPECT_FLOAT_EQ(p.size, 0.0f);
  EXPECT_FLOAT_EQ(p.lifetime, 2.25f);

  const float angle = p.angle;
  pool.update(kCloudKind, 2.0f, 0.1f, 1.0f);
  EXPECT_FLOAT_EQ(p.position[0], 1.0f);
  EXPECT_FLOAT_EQ(p.position[2], -2.0f);
  EXPECT_FLOAT_EQ(p.angle, angle);
  pool.update(kCloudKind, 3.26f, 0.1f, 1.0f);
  EXPECT_EQ(p.active, 0);
}

TEST_F(Particles, AParticleLivesThroughItsDeathTimeAndIsFreedAfter) {
  pool.lifeSpan[Flame] = 2.0f;
  const int slot = pool.emit(Flame, 0, 0, 0, 10.0f, 1.0f);
  pool.update(Flame, 12.0f, 0.016f, 1.0f);
  EXPECT_EQ(pool.slots[slot].active, 1);
  pool.update(Flame, 12.001f, 0.016f, 1.0f);
  EXPECT_EQ(pool.slots[slot].active, 0);
  EXPECT_EQ(pool.emit(Flame, 0, 0, 0, 12.5f, 1.0f), slot);
}

TEST_F(Particles, SlotsAboveTheActiveCountAreFrozenUntilItIsRaised) {
  pool.emitInterval[Smoke] = 0.0f;
  for (int i = 0; i < 5; ++i) pool.emit(Smoke, static_cast<float>(i), 0, 0, 1.0f, 1.0f);
  pool.activeCount = 2;

  pool.update(Smoke, 100.0f, 0.1f, 1.0f);  // long past the death of all five
  EXPECT_EQ(pool.slots[0].active, 0);
  EXPECT_EQ(pool.slots[1].active, 0);
  for (int i = 2; i < 5; ++i) {
    EXPECT_EQ(pool.slots[i].active, 1) << i;
    EXPECT_FLOAT_EQ(pool.slots[i].position[1], 0.0f) << "not moved";
  }
  EXPECT_EQ(pool.hitTest(Smoke, 3.0f, 0, 0, 0.5f), 0);
  EXPECT_EQ(pool.slots[3].active, 1);
  EXPECT_EQ(pool.emit(Smoke, 0, 0, 0, 100.0f, 1.0f), 0);
  EXPECT_EQ(pool.emit(Smoke, 0, 0, 0, 100.0f, 1.0f), 1);
  EXPECT_EQ(pool.emit(Smoke, 0, 0, 0, 100.0f, 1.0f), -1);

  pool.activeCount = kParticleSlots;
  pool.update(Smoke, 100.0f, 0.1f, 1.0f);
  EXPECT_EQ(liveCount(), 2);  // the two new ones; the frozen three had died
  EXPECT_EQ(pool.slots[0].active, 1);
  EXPECT_EQ(pool.slots[1].active, 1);
}

TEST_F(Particles, UpdateMovesByAFifthOfVelocityPlusWindScaledInTime) {
  pool.windX[Flame] = 0.5f;
  pool.windY[Flame] = 2.0f;
  pool.windZ[Flame] = -1.0f;
  pool.gravity[Flame] = 0.5f;
  pool.growth[Flame] = 0.1f;
  pool.emitInterval[Smoke] = 0.0f;
  Particle& p = pool.slots[pool.emit(Flame, 0, 0, 0, 1.0f, 1.0f)];
  const Particle& smoke = pool.slots[pool.emit(Smoke, 5.0f, 5.0f, 5.0f, 1.0f, 1.0f)];
  p.velocity[0] = 1.0f;
  p.velocity[1] = 2.0f;
  p.velocity[2] = 3.0f;
  p.angle = 0.0f;
  p.spin = 10.0f;
  p.size = 0.4f;

  pool.update(Flame, 1.1f, 0.1f, 2.0f);  // step 0.1 * 0.2 * 2 = 0.04
  EXPECT_NEAR(p.position[0], 1.5f * 0.04f, 1e-6);
  EXPECT_NEAR(p.position[1], 4.0f * 0.04f, 1e-6);
  EXPECT_NEAR(p.position[2], 2.0f * 0.04f, 1e-6);
  EXPECT_FLOAT_EQ(p.velocity[1], 2.5f);  // gravity once per call
  EXPECT_FLOAT_EQ(p.velocity[0], 1.0f);  // wind is never stored
  EXPECT_NEAR(p.angle, 1.0f, 1e-6);      // plain dt, not scaled by time
  EXPECT_NEAR(p.size, 0.41f, 1e-6);

  pool.update(Flame, 1.15f, 0.05f, 1.0f);  // step 0.01; gravity is not scaled by dt
  EXPECT_NEAR(p.position[0], 0.06f + 1.5f * 0.01f, 1e-6);
  EXPECT_NEAR(p.position[1], 0.16f + 4.5f * 0.01f, 1e-6);
  EXPECT_NEAR(p.position[2], 0.08f + 2.0f * 0.01f, 1e-6);
  EXPECT_FLOAT_EQ(p.velocity[1], 3.0f);
  EXPECT_NEAR(p.angle, 1.5f, 1e-6);
  EXPECT_NEAR(p.size, 0.415f, 1e-6);

  EXPECT_FLOAT_EQ(smoke.position[0], 5.0f);  // other kinds wait for their own update
  EXPECT_FLOAT_EQ(smoke.position[1], 5.0f);
}

TEST_F(Particles, LaunchSetsVelocityAndSpinAndMovesByTheFullVelocityOnce) {
  pool.windY[LaserBolt] = 1.0f;
  pool.gravity[LaserBolt] = 0.0f;
  const int slot = pool.emit(LaserBolt, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f);
  Particle& p = pool.slots[slot];
  const float angle = p.angle;
  pool.launch(slot, 20.0f, 0.0f, -10.0f, 5000.0f, 0.05f);
  EXPECT_FLOAT_EQ(p.velocity[0], 20.0f);
  EXPECT_FLOAT_EQ(p.velocity[2], -10.0f);
  EXPECT_FLOAT_EQ(p.spin, 5000.0f);
  EXPECT_NEAR(p.position[0], 2.0f, 1e-5);
  EXPECT_NEAR(p.position[1], 1.05f, 1e-5);
  EXPECT_NEAR(p.position[2], 0.5f, 1e-5);
  EXPECT_FLOAT_EQ(p.angle, angle);

  pool.update(LaserBolt, 1.05f, 0.05f, 1.0f);  // then a fifth of it per update
  EXPECT_NEAR(p.position[0], 2.2f, 1e-5);
  EXPECT_NEAR(p.position[1], 1.06f, 1e-5);
  EXPECT_NEAR(p.position[2], 0.4f, 1e-5);
  EXPECT_NEAR(p.angle, angle + 250.0f, 1e-3);
}

TEST_F(Particles, HitTestIsAStrictCubeOfItsKind) {
  pool.emit(LaserBolt, 0, 0, 0, 1.0f, 1.0f);
  EXPECT_EQ(pool.hitTest(LaserBolt, 0.25f, 0, 0, 0.25f), 0);
  EXPECT_EQ(pool.hitTest(LaserBolt, 0, -0.25f, 0, 0.25f), 0);
  EXPECT_EQ(pool.hitTest(LaserBolt, 0, 0, 0.25f, 0.25f), 0);
  EXPECT_EQ(pool.hitTest(AlienShot, 0, 0, 0, 1.0f), 0);
  EXPECT_EQ(pool.slots[0].active, 1);
  // A corner of the cube, farther than the radius from the centre, still hits.
  EXPECT_EQ(pool.hitTest(LaserBolt, 0.2f, -0.2f, 0.2f, 0.25f), 1);
  EXPECT_EQ(pool.slots[0].active, 0);
  EXPECT_EQ(pool.hitTest(LaserBolt, 0.2f, -0.2f, 0.2f, 0.25f), 0);
}

TEST_F(Particles, HitTestConsumesOneParticleLowestSlotFirst) {
  pool.emitInterval[LaserBolt] = 0.0f;
  pool.emit(LaserBolt, 0.0f, 0, 0, 1.0f, 1.0f);
  pool.emit(LaserBolt, 0.1f, 0, 0, 1.0f, 1.0f);
  EXPECT_EQ(pool.hitTest(LaserBolt, 0.05f, 0, 0, 0.25f), 1);
  EXPECT_EQ(pool.slots[0].active, 0);
  EXPECT_EQ(pool.slots[1].active, 1);
  EXPECT_EQ(pool.hitTest(LaserBolt, 0.05f, 0, 0, 0.25f), 1);
  EXPECT_EQ(pool.slots[1].active, 0);
  EXPECT_EQ(pool.hitTest(LaserBolt, 0.05f, 0, 0, 0.25f), 0);
}

TEST_F(Particles, ClearFreesEverySlotAlsoAboveTheActiveCount) {
  pool.activeCount = 10;
  for (int slot : {0, 5, 300, kParticleSlots - 1}) pool.slots[slot].active = 1;
  pool.clear();
  EXPECT_EQ(liveCount(), 0);
}

TEST_F(Particles, FireAndSmokeBrightenFadeAndHoldInBetween) {
  for (int kind : {Flame, Smoke}) {
    EXPECT_NEAR(particleEnvelope(kind, 0.0f), 0.0f, 1e-6) << kind;
    EXPECT_NEAR(particleEnvelope(kind, 0.05f), 0.5f, 1e-6);
    EXPECT_NEAR(particleEnvelope(kind, 0.1f), 1.0f, 1e-6);
    EXPECT_FLOAT_EQ(particleEnvelope(kind, 0.15f), 1.0f);
    EXPECT_FLOAT_EQ(particleEnvelope(kind, 0.2f), 1.0f);
    EXPECT_NEAR(particleEnvelope(kind, 0.4f), 0.5f + 0.5f * 0.70710678f, 1e-5);
    EXPECT_NEAR(particleEnvelope(kind, 0.6f), 0.5f, 1e-5);
    EXPECT_NEAR(particleEnvelope(kind, 1.0f), 0.0f, 1e-6);
    // No steps at the joins.
    EXPECT_GT(particleEnvelope(kind, 0.0999f), 0.999f);
    EXPECT_GT(particleEnvelope(kind, 0.2001f), 0.999f);
  }
  float last = -1.0f;
  for (float t = 0.0f; t < 0.1f; t += 0.01f) {
    EXPECT_GT(particleEnvelope(Flame, t), last);
    last = particleEnvelope(Flame, t);
  }
  last = 2.0f;
  for (float t = 0.25f; t <= 1.0f; t += 0.05f) {
    EXPECT_LT(particleEnvelope(Flame, t), last);
    last = particleEnvelope(Flame, t);
  }
}

TEST_F(Particles, TheCloudKindOnlyBrightens) {
  EXPECT_NEAR(particleEnvelope(kCloudKind, 0.0f), 0.0f, 1e-6);
  EXPECT_NEAR(particleEnvelope(kCloudKind, 0.15f), 0.5f, 1e-6);
  EXPECT_FLOAT_EQ(particleEnvelope(kCloudKind, 0.3f), 1.0f);
  EXPECT_FLOAT_EQ(particleEnvelope(kCloudKind, 1.0f), 1.0f);
}

}  // namespace
