// The property panels' 47 reset buttons, in connection order: global, body,
// distance, pivot, piston and spring properties. X(Property, button): the
// button `button` of the form reaches ZolvarDlg::reset<Property>BtnClicked(),
// which calls the view's reset<Property>().
#pragma once

#define ZOLVAR_RESET_BUTTONS(X)                                                           \
    X(TimeDivider, resetTimeDividerBtn)                                                   \
    X(Substeps, resetSubsteppingBtn)                                                      \
    X(CollisionTolerance, resetToleranceBtn)                                              \
    X(GravityMagnitude, resetGravityMagnitudeBtn)                                         \
    X(GravityDirection, resetGravityDirectionBtn)                                         \
    X(Type, resetTypeBtn)                                                                 \
    X(Density, resetDensityBtn)                                                           \
    X(Friction, resetFrictionBtn)                                                         \
    X(Bounciness, resetBouncinessBtn)                                                     \
    X(BodyColor, resetBodyColorBtn)                                                       \
    X(MeshPrecision, resetMeshPrecisionBtn)                                               \
    X(VelocityMagnitude, resetVelocityMagnitudeBtn)                                       \
    X(VelocityDirection, resetVelocityDirectionBtn)                                       \
    X(AngularVelocity, resetAngularVelocityBtn)                                           \
    X(LinearDamping, resetLinearDampingBtn)                                               \
    X(AngularDamping, resetAngularDampingBtn)                                             \
    X(AEmaticDamping, resetAEmaticDampingBtn)                                             \
    X(AEmaticTension, resetAEmaticTensionBtn)                                             \
    X(CollisionGroup, resetCollisionGroupBtn)                                             \
    X(CollideWith, resetCollideWithBtn)                                                   \
    X(FixedRotation, resetFixedRotationBtn)                                               \
    X(GravityScale, resetGravityScaleBtn)                                                 \
    X(UseConvexHull, resetUseConvexHullBtn)                                               \
    X(MagnetismType, resetMagnetismTypeBtn)                                               \
    X(MagnetIntensity, resetMagnetIntensityBtn)                                           \
    X(MagnetDistance, resetMagnetDistanceBtn)                                             \
    X(AcceptMagnetism, resetAcceptMagnetismBtn)                                           \
    X(DistanceJointFrequency, resetDistanceJointFrequencyBtn)                             \
    X(DistanceJointDamping, resetDistanceJointDampingBtn)                                 \
    X(DistanceJointCollideConnected, resetDistanceJointCollideConnectedBtn)               \
    X(RevoluteJointEnableLimit, resetRevoluteJointEnableLimitBtn)                         \
    X(RevoluteJointLowerAngle, resetRevoluteJointLowerAngleBtn)                           \
    X(RevoluteJointUpperAngle, resetRevoluteJointUpperAngleBtn)                           \
    X(RevoluteJointEnableMotor, resetRevoluteJointEnableMotorBtn)                         \
    X(RevoluteJointMotorSpeed, resetRevoluteJointMotorSpeedBtn)                           \
    X(RevoluteJointMaxMotorTorque, resetRevoluteJointMaxMotorTorqueBtn)                   \
    X(RevoluteJointCollideConnected, resetRevoluteJointCollideConnectedBtn)               \
    X(PrismaticJointEnableLimit, resetPrismaticJointEnableLimitBtn)                       \
    X(PrismaticJointLowerTranslation, resetPrismaticJointLowerTranslationBtn)             \
    X(PrismaticJointUpperTranslation, resetPrismaticJointUpperTranslationBtn)             \
    X(PrismaticJointEnableMotor, resetPrismaticJointEnableMotorBtn)                       \
    X(PrismaticJointMotorSpeed, resetPrismaticJointMotorSpeedBtn)                         \
    X(PrismaticJointMaxMotorForce, resetPrismaticJointMaxMotorForceBtn)                   \
    X(PrismaticJointCollideConnected, resetPrismaticJointCollideConnectedBtn)             \
    X(SpringJointSpringiness, resetSpringJointSpringinessBtn)                             \
    X(SpringJointDamping, resetSpringJointDampingBtn)                                     \
    X(SpringJointDesiredLength, resetSpringJointDesiredLengthBtn)
