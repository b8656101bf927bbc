// Three bodies on the unit 3-sphere: a fixed sun, a moon on a near-circular
// orbit around it and a comet that falls in. Every step each moving body is
// pulled by the others with quorGravity, slowed by dampingForce and advanced
// with integrateStep; checkCollision reports contacts, and whatever touches
// the sun sticks to it.
#include <cmath>
#include <cstdio>

#include "quor/body.hpp"
#include "quor/collision.hpp"
#include "quor/forces.hpp"
#include "quor/hom_vec4.hpp"
#include "quor/integrate.hpp"

namespace {

using quor::checkCollision;
using quor::CollisionResult;
using quor::dampingForce;
using quor::HomVec4;
using quor::integrateStep;
using quor::QuorBody;
using quor::quorGravity;

constexpr double G = 1.0;
constexpr double DAMPING = 0.002;
constexpr double DT = 0.01;
constexpr int STEPS = 3000;
constexpr int PRINT_EVERY = 500;
// Bodies closer than this Fubini-Study distance (an angle) touch.
constexpr double CONTACT = 0.05;
constexpr int COUNT = 3;

struct Named {
  const char* name;
  QuorBody body;
};

void printState(double t, const Named (&bodies)[COUNT]) {
  std::printf("t = %5.2f\n", t);
  for (const Named& n : bodies) {
    const HomVec4 p = n.body.position;
    const bool moving = n.body.body_type == QuorBody::BodyType::dynamic;
    std::printf("  %-5s (%+.4f, %+.4f, %+.4f, %+.4f)%s\n", n.name, p.x, p.y, p.z, p.w, moving ? "" : "  fixed");
  }
  std::printf("  distances:");
  for (int i = 0; i < COUNT; ++i) {
    for (int j = i + 1; j < COUNT; ++j) {
      std::printf("  %s-%s %.4f", bodies[i].name, bodies[j].name, bodies[i].body.distanceTo(bodies[j].body));
    }
  }
  std::printf("\n");
}

}  // namespace

int main() {
  // A static body never moves and is made massless; the mass it pulls with
  // is ours to set.
  QuorBody sun = QuorBody::static_(HomVec4::init(0, 0, 0, 1));
  sun.mass = 0.01;

  // The moon starts half a radian from the sun, moving across the line to it
  // at the speed of a circular orbit: v² = G·M / (sin d · cos d).
  const double d = 0.5;
  const double speed = std::sqrt(G * sun.mass / (std::sin(d) * std::cos(d)));
  QuorBody moon = QuorBody::init(HomVec4::init(std::sin(d), 0, 0, std::cos(d)), HomVec4::init(0, speed, 0, 0), 0.001);

  // The comet starts nearly at rest about 0.74 rad away and falls in.
  QuorBody comet = QuorBody::init(HomVec4::init(0, -0.6, 0.3, 0.74), HomVec4::init(0.02, 0, 0, 0), 0.0001);

  Named bodies[COUNT] = {{"sun", sun}, {"moon", moon}, {"comet", comet}};
  bool touching[COUNT][COUNT] = {};
  int contacts = 0;

  printState(0.0, bodies);
  for (int step = 1; step <= STEPS; ++step) {
    // Forces first, all from the positions of this instant, then one step
    // each. quorGravity leaves the pulled body's own mass out and
    // integrateStep divides by it; scaling G and the damping by that mass
    // gives every body the same acceleration at the same place.
    for (Named& n : bodies) {
      for (const Named& other : bodies) {
        if (&other != &n) {
          n.body.applyForce(quorGravity(n.body, other.body.position, other.body.mass, G * n.body.mass));
        }
      }
    }
    // Static and kinematic bodies ignore both the forces and the step.
    for (Named& n : bodies) integrateStep(n.body, DT, dampingForce(n.body.velocity, DAMPING * n.body.mass));

    const double t = step * DT;
    for (int i = 0; i < COUNT; ++i) {
      for (int j = i + 1; j < COUNT; ++j) {
        const CollisionResult hit = checkCollision(bodies[i].body, bodies[j].body, CONTACT);
        if (hit.collided && !touching[i][j]) {
          ++contacts;
          std::printf("contact at t = %.2f: %s and %s, distance %.4f, normal (%+.4f, %+.4f, %+.4f, %+.4f)\n", t,
                      bodies[i].name, bodies[j].name, hit.fs_distance, hit.normal.x, hit.normal.y, hit.normal.z,
                      hit.normal.w);
          // Sticking to the sun: a kinematic body is moved only by its owner.
          if (i == 0) bodies[j].body.body_type = QuorBody::BodyType::kinematic;
        }
        touching[i][j] = hit.collided;
      }
    }
    if (step % PRINT_EVERY == 0) printState(t, bodies);
  }
  std::printf("%d steps, contacts: %d\n", STEPS, contacts);
  return 0;
}
