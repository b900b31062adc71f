// The cloth's module-level state with its load values.
#include "cloth/cloth.h"

float ClothSize = 5.0f;
float ClothWeight = 2.15f;
float ClothTimeScale = 1.0f;
float ClothWindForce = 100.0f;
float ClothWindDir[3] = {10.0f, 0.0f, 0.1f};
uint8_t ClothBlindFrequency = 1;
float ClothGravity = 9.8f;
int32_t ClothW = 0;
int32_t ClothH = 0;
int32_t ClothCount = 0;
int32_t ClothConstraintCount = 0;
uint8_t ClothTwoPanels = 0;
int32_t ClothPanelCount = 0;
int32_t ClothPanelOffset = 0;
uint8_t ClothRodDrive = 0;
uint8_t ClothCollision = 0;
float ClothMotionSpeed = 0.0f;
float ClothFoldingSpeed = 0.0f;
float MeshScaleX = 0.0f;
float MeshScaleY = 0.0f;

ClothParticle* ClothPosA = nullptr;
ClothParticle* ClothPosB = nullptr;
ClothParticle* ClothCur = nullptr;
ClothParticle* ClothPrev = nullptr;
ClothParticle* ClothRest = nullptr;
ClothParticle* ClothAcc = nullptr;
ClothParticle* ClothNormals = nullptr;
ClothParticle* ClothSpare = nullptr;
ClothConstraint* ClothConstraints = nullptr;
