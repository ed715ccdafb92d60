// The fly camera of the camera view: held keys to movement bits, acceleration, the frame slot,
// angle normalisation, the projection and modelview matrices and keeping the document's current
// camera and the 2D views in step with the eye.
#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "core/MainSettings.h"
#include "core/SysHost.h"
#include "document/MapDocument.h"
#include "document/MapWorld.h"
#include "map/MapCamera.h"
#include "views/Canvas.h"
#include "views/ViewHost.h"
#include "views/ViewState.h"
#include "kstdlib/kstdlib.h"

namespace {

const MainSettings& settings() {
    return Sys_Settings();
}

// One velocity towards input u (-1, 0, +1) with top speed m.
float accelerate(float speed, int u, float m, float timeToTop, float dt) {
    const float a = timeToTop != 0.0f ? m / (timeToTop * 0.001f) : 0.0f;
    if (a == 0.0f) return float(u) * m;
    if (u == 0) return 0.0f;
    float s = speed;
    if (s != 0.0f && ((u > 0 && s <= 0.0f) || (u < 0 && s >= 0.0f))) s = 0.0f;
    s += float(u) * a * dt;
    return std::clamp(s, -m, m);
}

float wrapAngle(float a) {
    if (a < -180.0f) a += 360.0f;
    if (a > 180.0f) a -= 360.0f;
    return a;
}

} // namespace

int cCanvas::computeMoveKeys() const {
    const ViewHost* host = View_Host();
    if (!is3D() || !host) return 0;
    const uint32_t held = host->heldKeys();
    const Qt::KeyboardModifiers mods = QApplication::keyboardModifiers();
    int bits = 0;
    auto map = [&](uint32_t key, int bit) {
        if (held & key) bits |= bit;
    };
    if (mods != Qt::NoModifier) {
        if (mods & Qt::ShiftModifier) {
            map(HeldKey::Left, MoveKey::StrafeLeft);
            map(HeldKey::Right, MoveKey::StrafeRight);
            map(HeldKey::Up, MoveKey::Up);
            map(HeldKey::Down, MoveKey::Down);
        }
        return bits;
    }
    if (settings().Mouselook) {
        map(HeldKey::W, MoveKey::Forward);
        map(HeldKey::S, MoveKey::Back);
        map(HeldKey::A, MoveKey::StrafeLeft);
        map(HeldKey::D, MoveKey::StrafeRight);
    } else {
        map(HeldKey::D, MoveKey::Forward);
        map(HeldKey::C, MoveKey::Back);
    }
    map(HeldKey::Left, MoveKey::TurnLeft);
    map(HeldKey::Right, MoveKey::TurnRight);
    map(HeldKey::Up, MoveKey::PitchUp);
    map(HeldKey::Down, MoveKey::PitchDown);
    return bits;
}

void cCanvas::flyCamera(float dt) {
    const MainSettings& s = settings();
    const float f = float(s.ForwardSpeed);
    topForward = f;
    topStrafe = f * 0.75f;
    topVertical = f * 0.5f;
    const float t = float(s.TimeToTopSpeed);
    moveKeys = computeMoveKeys();
    auto input = [&](int plus, int minus) {
        return ((moveKeys & plus) ? 1 : 0) - ((moveKeys & minus) ? 1 : 0);
    };
    velForward = accelerate(velForward, input(MoveKey::Forward, MoveKey::Back), topForward, t, dt);
    velStrafe = accelerate(velStrafe, input(MoveKey::StrafeRight, MoveKey::StrafeLeft), topStrafe, t, dt);
    velVertical = accelerate(velVertical, input(MoveKey::Up, MoveKey::Down), topVertical, t, dt);
    pitchRate = accelerate(pitchRate, input(MoveKey::PitchUp, MoveKey::PitchDown), 180.0f, t, dt);
    yawRate = accelerate(yawRate, input(MoveKey::TurnLeft, MoveKey::TurnRight), 180.0f, t, dt);

    const float steps[3] = {velForward * dt, velStrafe * dt, velVertical * dt};
    const float* axes[3] = {forward, right, up};
    for (int i = 0; i < 3; ++i) {
        if (steps[i] == 0.0f) continue;
        for (int k = 0; k < 3; ++k)
            eye[k] += axes[i][k] * steps[i];
        cameraMoved = true;
    }
    if (pitchRate * dt != 0.0f) {
        angles[0] += pitchRate * dt;
        cameraMoved = true;
    }
    if (yawRate * dt != 0.0f) {
        angles[1] += yawRate * dt;
        cameraMoved = true;
    }
    syncCameraObject();
}

void cCanvas::runFrame() {
    const int64_t now = View_Milliseconds();
    const float dt = float(now - lastFrame) * 0.001f;
    lastFrame = now;
    float shared = 0.0f;
    if (MapDocument* doc = document()) shared = Project_TickFrameClock(doc, now);
    secondsAccumulated += dt;
    if (secondsAccumulated > 1.0f) {
        framesPerSecond = float(framesCounted) / secondsAccumulated;
        framesCounted = 0;
        secondsAccumulated = 0.0f;
    }
    if (View_Host() && View_FocusView() == this) flyCamera(dt);
    if (View_Suspended()) return;
    context.frameTime = dt;
    context.sharedFrameTime = shared;
    redrawNow();
}

void cCanvas::normalizeCamera() {
    for (float& c : eye)
        c = std::clamp(c, -worldSize, worldSize);
    for (float& a : angles)
        a = wrapAngle(a);
    angles[0] = std::clamp(angles[0], -90.0f, 90.0f);
}

float cCanvas::farDistance() const {
    const int32_t back = settings().BackClip;
    return back < 1 ? 500.0f : float(back);
}

void cCanvas::setupProjection() {
    const float w = float(std::max(viewWidth, 1)), h = float(std::max(viewHeight, 1));
    tanHalfH = std::tan(fovH * 3.14159265f / 360.0f);
    tanHalfV = (h / w) * tanHalfH;
    fovV = std::atan(tanHalfV) * 2.0f * 180.0f / 3.14159265f;
    const float f = farDistance();
    std::fill(std::begin(projection), std::end(projection), 0.0f);
    projection[0] = 1.0f / tanHalfH;
    projection[5] = 1.0f / tanHalfV;
    projection[10] = (f + 1.0f) / (1.0f - f);
    projection[11] = -1.0f;
    projection[14] = 2.0f * f / (1.0f - f);
    projectionDirty = false;
    needsFullRedraw = true;
}

void cCanvas::setupModelview() {
    normalizeCamera();
    const float rad = 3.1415927f / 180.0f;
    const float sy = std::sin(angles[1] * rad), cy = std::cos(angles[1] * rad);
    const float sp = std::sin(angles[0] * rad), cp = std::cos(angles[0] * rad);
    const float sr = std::sin(angles[2] * rad), cr = std::cos(angles[2] * rad);
    const float rows[3][3] = {
        {cr * sy, -cy * cr, -sr},
        {cp * sr * sy - sp * cy, -cy * sr * cp - sp * sy, cp * cr},
        {-cy * cp - sr * sy * sp, -cp * sy + cy * sr * sp, -sp * cr},
    };
    std::fill(std::begin(modelview), std::end(modelview), 0.0f);
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c)
            modelview[c * 4 + r] = rows[r][c];
        modelview[12 + r] = -(rows[r][0] * eye[0] + rows[r][1] * eye[1] + rows[r][2] * eye[2]);
    }
    modelview[15] = 1.0f;
    for (int k = 0; k < 3; ++k) {
        forward[k] = -rows[2][k];
        right[k] = rows[0][k];
        up[k] = rows[1][k];
    }
    cameraMoved = false;
    needsFullRedraw = true;
}

void cCanvas::syncCameraObject() {
    if (!cameraMoved) return;
    MapDocument* doc = document();
    if (doc && doc->world && doc->world->currentCamera) {
        CameraRecord* camera = doc->world->currentCamera;
        vec3 direction;
        const vec3 view = {-angles[0], angles[1], angles[2]};
        K_AngleVectors(view, direction, nullptr, nullptr);
        const float d = camera->handle ? camera->handle->distance : 1.0f;
        float target[3];
        for (int k = 0; k < 3; ++k)
            target[k] = eye[k] + direction[k] * d;
        if (camera->handle) {
            camera->handle->setEyeAndTarget(eye, target);
        } else {
            for (int k = 0; k < 3; ++k) {
                camera->eye[k] = eye[k];
                camera->target[k] = target[k];
            }
        }
    }
    const MainSettings& s = settings();
    if (s.DrawCamera && !s.FastCamera) broadcastCameraMove();
}

void cCanvas::broadcastCameraMove() {
    if (MapDocument* doc = document()) Project_BroadcastCameraMove(doc, eye, lastBroadcastEye);
    for (int k = 0; k < 3; ++k)
        lastBroadcastEye[k] = eye[k];
}
