// The toolbar's pictures, made from the shapes the core describes for the
// window, on the same 32 x 32 grid.
import { core } from './core.js';

const kSvg = 'http://www.w3.org/2000/svg';

function svgElement({ tag, attributes, children }) {
    const made = document.createElementNS(kSvg, tag);
    for (const [name, value] of Object.entries(attributes))
        made.setAttribute(name, String(value));
    made.append(...children.map(svgElement));
    return made;
}

export function toolbarIcon(command) {
    const svg = svgElement({ tag: 'svg', attributes: { viewBox: '0 0 32 32', 'aria-hidden': 'true' }, children: [] });
    svg.append(...core.toolbarIcon(command).map(svgElement));
    return svg;
}
