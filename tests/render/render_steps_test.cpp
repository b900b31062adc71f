// The render's steps one by one: parameter conversion, texture slots, the
// output geometry at both depths, placement and the depth sort.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "host/render_frame.h"
#include "platform/page_memory.h"
#include "tests/render/render_rig.h"

namespace {

// The frame's steps up to the output geometry, as Render runs them.
struct Steps {
  RenderRig& rig;
  RenderFrame f;
  explicit Steps(RenderRig& r, int frame = 0) : rig(r) {
    PF_ParamDef** params = rig.Params(frame);
    AllocWorld(rig.output, rig.input.world.width, rig.input.world.height, rig.deep);
    RenderFrameInit(f, &rig.ctx.in_data, &rig.ctx.out_data, &rig.output.world);
    ReadRenderParams(f, params, RodRenderParams);
    CheckoutTextureLayers(f, RodRenderParams);
    SetRendererSwitches(f);
    TakeOutputGeometry(f, params[0]);
  }
  ~Steps() {
    ReleaseTextures(f);
    CheckinTextureLayers(f, RodRenderParams);
    __SetDeep(0);
  }
};

TEST(RenderSteps, ControlsConvertWithTheirDivisors) {
  RenderRig rig(160, 90);
  ASSERT_TRUE(rig.Start());
  rig.Set("Bump percent", "10");
  rig.Set("Transparancy", "40");
  rig.Set("Wind direction XY", "90");
  rig.Set("Wind direction XZ", "0");
  rig.Set("Shininess", "15");
  rig.Set("Aberration", "20");
  rig.Set("Diffuse", "255/0/51");
  Steps s(rig);
  EXPECT_EQ(s.f.mapAmount[SLOT_BUMP], 0.01f);  // per mille
  EXPECT_EQ(s.f.mapAmount[SLOT_TEXTURE], 1.0f);
  EXPECT_EQ(s.f.material.transparency, -0.4f);  // stored negated
  EXPECT_EQ(s.f.material.shininess, 1.5f);
  EXPECT_EQ(s.f.glass.aberration, 20.0f);  // percent, not divided
  EXPECT_EQ(s.f.material.diffuse[0], 1.0f);
  EXPECT_EQ(s.f.material.diffuse[2], 0.2f);
  EXPECT_STREQ(s.f.material.name, "Material#0");
  EXPECT_STREQ(s.f.light.name, "LightOne");
  EXPECT_EQ(ClothWindDir[0], 10.0f);
  EXPECT_EQ(ClothWindDir[1], 0.0f);
  EXPECT_EQ(ClothWindDir[2], 0.0f);
  // Defaults: "Weight" 10, "Accelerator" 100, "Rotate WV" 45 puts the light
  // at 2000 (cos 45, 0, sin 45) with the effect's pi.
  EXPECT_EQ(ClothWeight, 10.0f);
  EXPECT_EQ(ClothTimeScale, 1.0f);
  const double w = 45.0 * 3.141592 / 180.0;
  EXPECT_NEAR(s.f.light.x, 2000.0 * std::cos(w), 1e-3);
  EXPECT_NEAR(s.f.light.z, 2000.0 * std::sin(w), 1e-3);
  EXPECT_EQ(s.f.light.y, 0.0f);
  EXPECT_EQ(s.f.light.multiplier, 1.0f);
}

TEST(RenderSteps, RodSpeedsAndChoicesConvert) {
  RenderRig rig(16, 16);
  ASSERT_TRUE(rig.Start());
  rig.Set("Motion speed", "2.5");
  rig.Set("Folding speed", "-5");
  rig.Set("Blind frequency", "Frequently");
  ReadRodParams(rig.Params(0));
  EXPECT_EQ(ClothMotionSpeed, 0.0025f);
  EXPECT_EQ(ClothFoldingSpeed, -0.005f);
  EXPECT_EQ(ClothBlindFrequency, 3);
  EXPECT_EQ(ClothRodDrive, 1);
  const uint8_t modes[] = {6, 0, 1, 2, 3, 6, 8, 9, 6};  // choices 0 .. 8
  for (int choice = 0; choice <= 8; ++choice) EXPECT_EQ(DrawModeOfChoice(choice), modes[choice]) << choice;
}

TEST(RenderSteps, DefaultPlacementNeedsNoTranslationForEvenAndOddSizes) {
  for (int size : {160, 161}) {
    RenderRig rig(size, size - 70);
    ASSERT_TRUE(rig.Start());
    Steps s(rig);
    EXPECT_EQ(s.f.px, 0.0f) << size;
    EXPECT_EQ(s.f.py, 0.0f) << size;
    EXPECT_EQ(s.f.rotation[0], 0.0f);
    EXPECT_EQ(s.f.rotation[1], 0.0f);
    EXPECT_EQ(s.f.rotation[2], 0.0f);
    EXPECT_EQ(MeshScaleX, 100.0f * (float(size) / 500.0f));  // "Scale X" 100
    // So PlaceMesh leaves the mesh exactly as built.
    __Point3ds pts[2] = {};
    pts[0].x = 1.5f;
    pts[1].y = -2.0f;
    pts[1].normalCount = 1;
    pts[1].nz = 1.0f;
    __Point3ds before[2];
    std::memcpy(before, pts, sizeof pts);
    s.f.points = pts;
    s.f.vertexCount = 2;
    PlaceMesh(s.f);
    EXPECT_EQ(std::memcmp(before, pts, sizeof pts), 0);
    s.f.points = nullptr;
  }
}

TEST(RenderSteps, OnlyTheReflectionLayerEnablesSlotThreeAndLeavesTheMeshUntextured) {
  RenderRig rig(32, 32);
  ASSERT_TRUE(rig.Start());
  rig.SetLayer("Texture reflection", 8, 4, false);
  Steps s(rig);
  ASSERT_TRUE(FillTextureSlots(s.f));
  EXPECT_EQ(s.f.slots[SLOT_REFLECTION].enabled, 1);
  EXPECT_EQ(s.f.slots[SLOT_REFLECTION].width, 8);
  EXPECT_EQ(s.f.slots[SLOT_REFLECTION].height, 4);
  EXPECT_EQ(s.f.slots[SLOT_REFLECTION].deep, 0);
  for (int k : {SLOT_TEXTURE, SLOT_OPACITY, SLOT_BUMP}) EXPECT_EQ(s.f.slots[k].enabled, 0) << k;
  EXPECT_EQ(MeshTextured(s.f), 0);
  EXPECT_STREQ(s.f.material.maps[7].name, "Reflect");
  EXPECT_EQ(s.f.material.maps[7].amount, 0.3f);
  EXPECT_EQ(s.f.material.maps[7].uScale, 1.0f);
  EXPECT_STREQ(s.f.material.maps[0].name, "");
  EXPECT_EQ(s.f.material.maps[0].amount, 0.0f);
}

TEST(RenderSteps, SixteenBitOutputHalvesRowbytesSetsTheDeepSwitchAndMarksSlotsDeep) {
  RenderRig rig(24, 10, true);
  ASSERT_TRUE(rig.Start());
  rig.SetLayer("Texture", 6, 6, true);
  rig.SetLayer("Texture bump", 6, 6, false);  // another depth than the output: absent
  Steps s(rig);
  EXPECT_EQ(__GetDeep(), 1);
  EXPECT_EQ(OutputDeep, 1);
  EXPECT_EQ(s.f.outStride, rig.output.world.rowbytes / 2);
  EXPECT_EQ(s.f.inStride, rig.input.world.rowbytes / 2);
  ASSERT_TRUE(FillTextureSlots(s.f));
  EXPECT_EQ(s.f.slots[SLOT_TEXTURE].enabled, 1);
  EXPECT_EQ(s.f.slots[SLOT_TEXTURE].deep, 1);
  EXPECT_EQ(s.f.slots[SLOT_BUMP].enabled, 0);
  EXPECT_EQ(MeshTextured(s.f), 1);
  // The texel of host pixel (0, 0) of the pattern, in B, G, R, A order.
  const uint16_t* texel = reinterpret_cast<const uint16_t*>(s.f.slots[SLOT_TEXTURE].pixels);
  const PF_Pixel16& host = *reinterpret_cast<const PF_Pixel16*>(rig.layers[rig.Index("Texture")]->pixels.data());
  EXPECT_EQ(texel[0], host.blue);
  EXPECT_EQ(texel[2], host.red);
  EXPECT_EQ(texel[3], 32768);
}

TEST(RenderSteps, RoughDrawsUnsortedEveryOtherModeSortsFarToNear) {
  RenderRig rig(16, 16);
  ASSERT_TRUE(rig.Start());
  for (int choice = 1; choice <= 7; ++choice) {
    rig.Set("Rendering mode", std::to_string(choice));
    Steps s(rig);
    ASSERT_TRUE(MakeWorkingBuffers(s.f, true));
    // Three tiny triangles of depth sums 9, 3, 6.
    __Point3ds pts[9] = {};
    __Triangle3ds tris[3] = {};
    const float z[3] = {3, 1, 2};
    for (int t = 0; t < 3; ++t)
      for (int k = 0; k < 3; ++k) {
        pts[3 * t + k].z = z[t];
        pts[3 * t + k].x = float(k);
        pts[3 * t + k].y = float(k == 2);
        tris[t].vert[k] = uint32_t(3 * t + k);
      }
    s.f.points = pts;
    s.f.triangles = tris;
    s.f.vertexCount = 9;
    s.f.triangleCount = 3;
    ASSERT_TRUE(DrawMesh(s.f));
    const uint32_t first = tris[0].vert[0], last = tris[2].vert[0];
    if (choice == 1) {
      EXPECT_EQ(first, 0u);
      EXPECT_EQ(last, 6u);
    } else {
      EXPECT_EQ(first, 3u) << "choice " << choice;  // sum 3 first
      EXPECT_EQ(last, 0u) << "choice " << choice;   // sum 9 last
    }
    EXPECT_EQ(__GetDubleSide(), 1);
    EXPECT_EQ(__GetUseMultyRefract(), 0);
    s.f.points = nullptr;
    s.f.triangles = nullptr;
    ReleaseFrameBuffers(s.f);
  }
}

TEST(RenderSteps, AnInputOfAnotherSizeIsCopiedWhereItOverlaps) {
  RenderRig rig(10, 6);
  ASSERT_TRUE(rig.Start());
  PF_ParamDef** params = rig.Params(0);
  HostWorld small;
  AllocWorld(small, 4, 3, false);
  FillPattern(small);
  params[0]->u.ld = small.world;
  HostWorld out;
  AllocWorld(out, 10, 6, false);
  RenderFrame f;
  RenderFrameInit(f, &rig.ctx.in_data, &rig.ctx.out_data, &out.world);
  ReadRenderParams(f, params, RodRenderParams);
  TakeOutputGeometry(f, params[0]);
  ASSERT_TRUE(MakeWorkingBuffers(f, true));
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 10; ++x) {
      const uint8_t* p = f.source + (y * 10 + x) * 4;
      if (x < 4 && y < 3) {
        EXPECT_EQ(p[3], 255);
        EXPECT_EQ(p[0], small.pixels[size_t(y) * small.world.rowbytes + 4 * x + 1]);
      } else {
        EXPECT_EQ(p[0] | p[1] | p[2] | p[3], 0) << x << "," << y;
      }
    }
  ReleaseFrameBuffers(f);
}

}  // namespace
