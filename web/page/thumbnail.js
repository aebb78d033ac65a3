// A picture of any size drawn small, a pixel a dot, for the browser to scale
// to the box it stands in: one ImageData however many dots are set. At the
// module's size the type says where each dot is shown, as on the grid.
import { constants } from './core.js';
import { cellsOf } from './picture.js';

const kInk = [0, 0, 0];
const kPaper = [255, 255, 255];

// dots: a character a dot, '1' for a set one; size: {width, height}; box: the side in CSS pixels it is shown in.
export function drawThumbnail(canvas, dots, size, type, box) {
    const { width, height } = size;
    canvas.width = width;
    canvas.height = height;
    const context = canvas.getContext('2d');
    const image = context.createImageData(width, height);
    const cells = width === constants.gridSide && height === constants.gridSide ? cellsOf(type) : null;
    for (let dot = 0; dot < width * height; ++dot) {
        const at = cells ? cells[dot].row * width + cells[dot].column : dot;
        image.data.set(dots[dot] === '1' ? kInk : kPaper, at * 4);
        image.data[at * 4 + 3] = 255;
    }
    context.putImageData(image, 0, 0);
    // Enlarged, each dot stays a crisp square; made smaller, a thin line stays a grey one rather than going.
    canvas.classList.toggle('enlarged', Math.max(width, height) <= box);
}
