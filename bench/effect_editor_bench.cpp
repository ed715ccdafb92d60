// The effect editor: a preview frame of the teapot with a three-stage effect at 512 x 512, one
// character typed into a 2,000-line script, re-formatting that script, and filling the effect
// list's "(All Textures)" from 5,000 effects.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTreeWidget>

#include <GL/gl.h>
#include <vector>

#include "FrameRig.h"
#include "dialogs/editing/ShaderEditCanvas.h"
#include "dialogs/editing/ShaderEditScript.h"
#include "dialogs/editing/TextureListFill.h"
#include "gamedata/EffectBatch.h"
#include "gamedata/TextureRecords.h"

namespace {

// Stage one opaque with a wave colour, two added with environment coordinates, three blended
// with turbulence and scroll; a wave deform moves the vertices.
struct PreviewRig {
    ShaderRecord effect;
    ShaderStage stages[3] = {};
    TextureImage image{};
    std::unique_ptr<cShaderEditCanvas> canvas;
    PreviewRig() {
        Bench_InitApplication();
        Shader_InitTables();
        std::snprintf(effect.name, sizeof effect.name, "bench/three");
        effect.deforms[0] = {DeformKind::Wave, {}, {WaveKind::Sine, 0, 2, 0, 0.5f}, 0.01f, 0, 0, 0};
        stages[0] = {};
        stages[0].stateBits = 0x100;
        stages[0].colorKind = ColorKind::Wave;
        stages[0].colorWave = {WaveKind::Triangle, 0.5f, 0.5f, 0, 1};
        stages[0].texCoordKind = TexCoordKind::Base;
        stages[1].stateBits = 0x22; // one, one
        stages[1].colorKind = ColorKind::Identity;
        stages[1].texCoordKind = TexCoordKind::Environment;
        stages[2].stateBits = 0x65;
        stages[2].colorKind = ColorKind::Identity;
        stages[2].alphaKind = AlphaKind::Const;
        stages[2].color[3] = 128;
        stages[2].texCoordKind = TexCoordKind::Base;
        stages[2].texCoordMods[0] = {TexModKind::Turbulence, {WaveKind::Sine, 0, 0.1f, 0, 1}, {}};
        stages[2].texCoordMods[1] = {TexModKind::Scroll, {}, {0.5f, 0.25f}};
        stages[0].next = &stages[1];
        stages[1].next = &stages[2];
        effect.stages = stages;
        canvas = std::make_unique<cShaderEditCanvas>(View_CanvasFormat(), nullptr);
        canvas->resize(512, 512);
        canvas->show();
        canvas->grabFramebuffer();
        // A 64 x 64 texture for every stage, made in the preview's (shared) context.
        canvas->makeCurrent();
        std::vector<uint32_t> pixels(64 * 64, 0xff80c0ffu);
        glGenTextures(1, &image.glName);
        glBindTexture(GL_TEXTURE_2D, image.glName);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 64, 64, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        canvas->doneCurrent();
        image.width = image.height = 64;
        image.bytesPerPixel = 4;
        image.flags = IMAGE_NO_MIPMAPS;
        for (ShaderStage& stage : stages) {
            stage.frames[0] = &image;
            stage.frameCount = 1;
        }
        canvas->setShape(4);
        canvas->showEffect(&effect);
        canvas->frameTimer.stop();
    }
};

void BM_PreviewTeapotFrame(benchmark::State& state) {
    static PreviewRig* rig = new PreviewRig;
    for (auto _ : state) {
        // A frame and its read-back, which waits for GL to finish it.
        const QImage frame = rig->canvas->grabFramebuffer();
        benchmark::DoNotOptimize(frame.constBits());
    }
}
BENCHMARK(BM_PreviewTeapotFrame)->Unit(benchmark::kMillisecond);

// 2,000 lines of effects: 250 of eight lines each.
QString bigScript() {
    QString text;
    for (int i = 0; i < 250; ++i)
        text += QStringLiteral("textures/bench/e%1\n{\n\tsurfaceparm nolightmap // note\n\t{\n"
                               "\t\tmap textures/bench/e%1.tga\n\t\tblendFunc add\n\t}\n}\n")
                    .arg(i);
    text.chop(1);
    return text;
}

struct ScriptRig {
    std::unique_ptr<cShaderEditScript> script;
    ScriptRig() {
        Bench_InitApplication();
        script = std::make_unique<cShaderEditScript>();
        script->resize(600, 800);
        script->show();
        script->setPlainText(bigScript());
        QApplication::processEvents();
    }
};

ScriptRig& scriptRig() {
    static ScriptRig* rig = new ScriptRig;
    return *rig;
}

void BM_TypeIntoScript(benchmark::State& state) {
    cShaderEditScript* script = scriptRig().script.get();
    QTextCursor cursor(script->document()->findBlockByNumber(1002));
    cursor.movePosition(QTextCursor::EndOfBlock);
    script->setTextCursor(cursor);
    // 0: a letter; 1: a brace that changes the depth of every later line; 2: that brace and the
    // events after it until every later line is coloured again (the paint of the view included).
    const bool brace = state.range(0) >= 1;
    const bool settle = state.range(0) == 2;
    const QString text = brace ? QStringLiteral("{") : QStringLiteral("a");
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, brace ? Qt::Key_BraceLeft : Qt::Key_A, Qt::NoModifier, text);
        QApplication::sendEvent(script, &press);
        if (settle) {
            QApplication::processEvents();
            while (script->recolourPending())
                QApplication::processEvents();
        }
        state.PauseTiming();
        script->textCursor().deletePreviousChar();
        QApplication::processEvents();
        while (script->recolourPending())
            QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_TypeIntoScript)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_ReformatScript(benchmark::State& state) {
    cShaderEditScript* script = scriptRig().script.get();
    const QString text = bigScript().replace(QStringLiteral("\t"), QStringLiteral("   "));
    for (auto _ : state) {
        state.PauseTiming();
        script->setPlainText(text);
        state.ResumeTiming();
        script->reformat();
    }
}
BENCHMARK(BM_ReformatScript)->Unit(benchmark::kMillisecond);

void BM_FillAllTextures(benchmark::State& state) {
    Bench_InitApplication();
    static std::vector<ShaderRecord> effects(5000);
    static TexturePackage* package = reinterpret_cast<TexturePackage*>(&effects); // only compared
    TextureLists lists;
    for (int i = 0; i < 5000; ++i) {
        std::snprintf(effects[size_t(i)].name, sizeof effects[size_t(i)].name, "bench/g%d/e%04d", i % 50, i);
        lists.entries.insert(
            QString::fromLatin1(effects[size_t(i)].name).toUpper(),
            {QStringLiteral("scripts/g%1.shader").arg(i % 50), package, &effects[size_t(i)]});
    }
    QTreeWidget tree;
    for (auto _ : state) {
        tree.clear();
        TexList_FillEffectTree(&lists, QStringLiteral("(All Textures)"), &tree,
                               QStringLiteral("bench/g7/e0007"), nullptr);
        benchmark::DoNotOptimize(tree.topLevelItemCount());
    }
}
BENCHMARK(BM_FillAllTextures)->Unit(benchmark::kMillisecond);

} // namespace
