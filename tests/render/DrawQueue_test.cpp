// The draw queue's node lists and its closed and absent states (no GL: nothing is drawn).
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <vector>

#include "render/DrawQueue.h"
#include "render/RenderContext.h"

namespace {

TEST(DrawList, SortKeepsEqualKeysInOrder) {
    const std::vector<std::vector<float>> tables = {
        {3, 1, 2, 1, 3, 1}, {5}, {2, 2, 2, 2}, {9, 8, 7, 6, 5, 4, 3}, {1, 2, 1, 2, 1, 2, 1}};
    for (const auto& keys : tables) {
        std::vector<DrawNode> nodes(keys.size());
        for (size_t i = 0; i < keys.size(); ++i) {
            nodes[i].key = keys[i];
            nodes[i].kind = int32_t(i);
            nodes[i].next = i + 1 < keys.size() ? &nodes[i + 1] : nullptr;
        }
        DrawNode* sorted = DrawList_Sort(&nodes[0]);
        int count = 0;
        for (DrawNode* n = sorted; n && n->next; n = n->next) {
            EXPECT_LE(n->key, n->next->key);
            if (n->key == n->next->key) {
                EXPECT_LT(n->kind, n->next->kind);
            }
            ++count;
        }
        EXPECT_EQ(count + 1, int(keys.size()));
    }
    EXPECT_EQ(DrawList_Sort(nullptr), nullptr);
}

// Without a queue, and with its batches closed, nothing is taken: the caller draws for itself.
// The sky and blended lists take nodes either way once there is a queue, into the owner's fields.
TEST(DrawQueue, QueuesOnlyWhereThereIsAnOpenQueue) {
    const float xyz[4][3] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    const uint8_t colour[4] = {255, 255, 255, 255};
    const uint8_t rgba[4][4] = {};
    const uint16_t indices[4] = {0, 1, 2, 3};
    const QueuedVertices vertices = {xyz[0], nullptr, 12, nullptr, colour, 0, true};
    RenderContext context{};
    auto takes = [&](DrawQueue* queue) {
        return std::vector<bool>{DrawQueue_Polygon(queue, vertices, GL_POLYGON, 4, false),
                                 DrawQueue_Vertices(queue, vertices, GL_QUADS, false, indices, 4),
                                 DrawQueue_Handles(queue, GL_POINTS, xyz[0], 4, colour),
                                 DrawQueue_Box(queue, &context, GL_LINES, xyz, rgba, 4),
                                 DrawQueue_Occluded(queue, xyz[0], xyz[2])};
    };
    const std::vector<bool> none(5, false);
    EXPECT_EQ(takes(nullptr), none);
    EXPECT_EQ(DrawQueue_Blended(nullptr), nullptr);

    void *blended = nullptr, *blendedPool = nullptr, *sky = nullptr, *skyPool = nullptr;
    DrawQueue* queue = DrawQueue_Create({&blended, &blendedPool}, {&sky, &skyPool});
    ASSERT_NE(queue, nullptr);
    EXPECT_EQ(takes(queue), none);
    EXPECT_NE(DrawQueue_Blended(queue), nullptr);
    EXPECT_NE(DrawQueue_Sky(queue), nullptr);
    EXPECT_EQ(DrawList_Length(blended), 1);
    EXPECT_EQ(DrawList_Length(sky), 1);
    {
        const cQueueScope scope(&context, queue);
        EXPECT_EQ(context.queue, queue);
        DrawQueue_Begin(queue);
        EXPECT_TRUE(DrawQueue_IsOpen(context.queue));
    }
    EXPECT_EQ(context.queue, nullptr);
    DrawList_Free({&blended, &blendedPool});
    DrawList_Free({&sky, &skyPool});
    EXPECT_EQ(blended, nullptr);
    DrawQueue_Destroy(queue);
}

} // namespace
